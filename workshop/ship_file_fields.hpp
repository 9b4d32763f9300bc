#pragma once
// The fields of the ship file, one line each: which line holds what, how it is read and written,
// and what a file that ends before a line reads in its place. Reading, writing and every tool
// that makes ship files go by this table alone.
//
// How ship files of every version stay readable by every other:
// - every field has a fixed line, and a line never moves or changes its meaning;
// - a new field only ever goes after the last one (a new weapon's lines too);
// - a program reads the lines it knows and ignores any after them. So an older program flies a
//   newer ship (its next save keeps only the lines it knows), and a newer program reads an older
//   file, which ends early, giving each missing field its absent text.
// A line that is there is read, even when it is empty or reads 0: then the game's own fallbacks
// decide (a boost of Max 0 gets the start boost, a Life.Max of 0 or less the start maximum, a ship
// of colour 0, 0, 0 turns magenta). The fields below all read 0 when absent, so for them a file
// that ends early and one whose missing lines read 0 load the same ship.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "world/game.hpp"

namespace starvane {

// A float field of one of the ship's Equipment records, written with at most six decimals.
struct EquipmentNumber {
  Equipment Game::*record;
  float Equipment::*field;
};
// The 16-bit Range of an Equipment record, an integer of which the low 16 bits are kept.
struct EquipmentRange {
  Equipment Game::*record;
};
// The player's money, an integer never negative and never wrapped round.
struct ShipMoney {};
// A colour component of the player's ship (body 0), an integer of which the low 16 bits are kept.
struct ShipColour {
  std::int16_t Body::*component;
};

// Where a field lives in the game, and so how its line is read and written.
using ShipFieldPlace = std::variant<EquipmentNumber, EquipmentRange, ShipMoney, ShipColour>;

struct ShipFileField {
  int line;                 // counted from 1
  std::string_view name;    // the field as the game calls it
  ShipFieldPlace place;     // where it lives in the game
  std::string_view absent;  // read in its place when the file ends before its line
};

inline constexpr auto kShipFileFields = std::to_array<ShipFileField>({
    {1, "Life.Value", EquipmentNumber{&Game::Life, &Equipment::Value}, "0"},
    {2, "Life.Max", EquipmentNumber{&Game::Life, &Equipment::Max}, "0"},
    {3, "Life.Refreshrate", EquipmentNumber{&Game::Life, &Equipment::Refreshrate}, "0"},
    {4, "Life.Damage", EquipmentNumber{&Game::Life, &Equipment::Damage}, "0"},
    {5, "Life.Range", EquipmentRange{&Game::Life}, "0"},
    {6, "Energie.Value", EquipmentNumber{&Game::Energie, &Equipment::Value}, "0"},
    {7, "Energie.Max", EquipmentNumber{&Game::Energie, &Equipment::Max}, "0"},
    {8, "Energie.Refreshrate", EquipmentNumber{&Game::Energie, &Equipment::Refreshrate}, "0"},
    {9, "Energie.Damage", EquipmentNumber{&Game::Energie, &Equipment::Damage}, "0"},
    {10, "Energie.Range", EquipmentRange{&Game::Energie}, "0"},
    {11, "Shock.Value", EquipmentNumber{&Game::Shock, &Equipment::Value}, "0"},
    {12, "Shock.Max", EquipmentNumber{&Game::Shock, &Equipment::Max}, "0"},
    {13, "Shock.Refreshrate", EquipmentNumber{&Game::Shock, &Equipment::Refreshrate}, "0"},
    {14, "Shock.Damage", EquipmentNumber{&Game::Shock, &Equipment::Damage}, "0"},
    {15, "Shock.Range", EquipmentRange{&Game::Shock}, "0"},
    {16, "Weapon1.Value", EquipmentNumber{&Game::Weapon1, &Equipment::Value}, "0"},
    {17, "Weapon1.Max", EquipmentNumber{&Game::Weapon1, &Equipment::Max}, "0"},
    {18, "Weapon1.Refreshrate", EquipmentNumber{&Game::Weapon1, &Equipment::Refreshrate}, "0"},
    {19, "Weapon1.Damage", EquipmentNumber{&Game::Weapon1, &Equipment::Damage}, "0"},
    {20, "Weapon1.Range", EquipmentRange{&Game::Weapon1}, "0"},
    {21, "Weapon2.Value", EquipmentNumber{&Game::Weapon2, &Equipment::Value}, "0"},
    {22, "Weapon2.Max", EquipmentNumber{&Game::Weapon2, &Equipment::Max}, "0"},
    {23, "Weapon2.Refreshrate", EquipmentNumber{&Game::Weapon2, &Equipment::Refreshrate}, "0"},
    {24, "Weapon2.Damage", EquipmentNumber{&Game::Weapon2, &Equipment::Damage}, "0"},
    {25, "Weapon2.Range", EquipmentRange{&Game::Weapon2}, "0"},
    {26, "Weapon3.Value", EquipmentNumber{&Game::Weapon3, &Equipment::Value}, "0"},
    {27, "Weapon3.Max", EquipmentNumber{&Game::Weapon3, &Equipment::Max}, "0"},
    {28, "Weapon3.Refreshrate", EquipmentNumber{&Game::Weapon3, &Equipment::Refreshrate}, "0"},
    {29, "Weapon3.Damage", EquipmentNumber{&Game::Weapon3, &Equipment::Damage}, "0"},
    {30, "Weapon3.Range", EquipmentRange{&Game::Weapon3}, "0"},
    {31, "Money", ShipMoney{}, "0"},
    {32, "Boost.Value", EquipmentNumber{&Game::Boost, &Equipment::Value}, "0"},
    {33, "Boost.Max", EquipmentNumber{&Game::Boost, &Equipment::Max}, "0"},
    {34, "Boost.Refreshrate", EquipmentNumber{&Game::Boost, &Equipment::Refreshrate}, "0"},
    {35, "Boost.Damage", EquipmentNumber{&Game::Boost, &Equipment::Damage}, "0"},
    {36, "Boost.Range", EquipmentRange{&Game::Boost}, "0"},
    {37, "Red", ShipColour{&Body::Red}, "0"},
    {38, "Green", ShipColour{&Body::Green}, "0"},
    {39, "Blue", ShipColour{&Body::Blue}, "0"},
});

constexpr int kShipFileLines = static_cast<int>(kShipFileFields.size());

// The index of the named field in the table, which is also that of its line among a file's
// lines. A name that is no field's does not compile.
consteval std::size_t ShipFileIndex(std::string_view name) {
  for (std::size_t i = 0; i < kShipFileFields.size(); ++i) {
    if (kShipFileFields[i].name == name) return i;
  }
  throw "no field of the ship file has that name";
}

namespace ship_file_checks {

constexpr bool EachFieldHasTheNextLine() {
  for (std::size_t i = 0; i < kShipFileFields.size(); ++i) {
    if (kShipFileFields[i].line != static_cast<int>(i) + 1) return false;
  }
  return true;
}

constexpr bool NoTwoFieldsShareAName() {
  for (std::size_t i = 0; i < kShipFileFields.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (kShipFileFields[i].name == kShipFileFields[j].name) return false;
    }
  }
  return true;
}

static_assert(EachFieldHasTheNextLine(),
              "lines are numbered from 1 without a gap: a new field goes after the last one");
static_assert(NoTwoFieldsShareAName());

}  // namespace ship_file_checks

}  // namespace starvane
