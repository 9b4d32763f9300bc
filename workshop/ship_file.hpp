#pragma once
// The ship file: a ship's equipment, money and colour kept from one game to the next, in 39
// text lines of their own, named after the ship. Nothing of the world is kept.
//
// Lines, each ended by CR LF: 1-5 Life, 6-10 Energie, 11-15 Shock, 16-20 Weapon1, 21-25 Weapon2,
// 26-30 Weapon3 (each Value, Max, Refreshrate, Damage, Range), 31 Money, 32-36 Boost (the same
// five), 37-39 Red, Green, Blue of the ship. Floats have at most six decimals, integers none.

#include <cstdint>
#include <string>
#include <string_view>

#include "world/game.hpp"

namespace starvane {

constexpr int kShipFileLines = 39;

// The ship's file name: the ship's name followed by ".shp". Bytes that would lead out of the
// files directory or garble a listing ('/', '\', control bytes and DEL) are written %XX, and so
// is '%' itself, so that two names never share a file. The name shown in the game is unchanged.
std::string ShipFileName(std::string_view ship_name);

// Reads the file of ShipName, when there is one, into the equipment (not the Active flags),
// Money and the colour of the ship (body 0); then, in every case, makes ActiveWeapon the working
// record of weapon 1. Missing lines read as 0; a boost of no strength, a ship without colour and
// a maximum life of 0 or less get the start values. Returns a warning for the player when the
// file exists but cannot be read (the game then flies with the start values and never saves
// over that file), else the empty text.
std::string LoadShip(Game& game);

// Replaces the file of ShipName with the 39 lines of the present ship, in one piece: a failure
// leaves the old file as it was. Returns the empty text when the ship was saved, else a message
// for the player naming the file (also when the file was left alone because it could not be
// read at the start).
std::string SaveShip(Game& game);

// The 39 lines that SaveShip writes.
std::string ShipFileText(Game& game);

// Appends the five lines of one piece of equipment to the text: value, max, refresh rate,
// damage, range.
void WriteEquipmentLines(std::string& text, float value, float max, float refreshrate, float damage,
                         std::int16_t range);

}  // namespace starvane
