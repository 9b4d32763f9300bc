#include "workshop/ship_file.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "media/atomic_write.hpp"
#include "media/rounding.hpp"
#include "media/text_numbers.hpp"
#include "media/text_quoting.hpp"
#include "world/kinds.hpp"
#include "world/money.hpp"

namespace starvane {
namespace {

constexpr int kShipFileSlot = 1;

// Bytes a file name must not hold as they are: separators would lead into other folders,
// control bytes garble listings, and '%' starts the written form of all of them.
bool WrittenAsHex(unsigned char c) {
  return c == '/' || c == '\\' || c == '%' || c < 0x20 || c == 0x7F;
}

std::filesystem::path ShipFilePath(const Game& game) {
  return game.media.Files.Directory() / ShipFileName(game.ShipName);
}

// The lines of a file in the order they were read; past the end of the file, empty lines.
class ShipLines {
 public:
  explicit ShipLines(const std::array<std::string, kShipFileLines>& lines) : lines_(lines) {}

  // A number too large for a float reads as the largest float of its sign, not as an infinity:
  // an infinite energy drained by an infinite shock would be no number at all, and every test
  // of it (is the energy used up? is the ship dead?) would fail from then on.
  float Float() {
    const float value = TextToFloat(Next());
    if (std::isnan(value)) return 0;
    return std::clamp(value, -std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
  }
  std::int32_t Int() { return TextToInt(Next()); }

  void ReadEquipment(Equipment& equipment) {
    equipment.Value = Float();
    equipment.Max = Float();
    equipment.Refreshrate = Float();
    equipment.Damage = Float();
    equipment.Range = Low16(Int());  // a 16-bit field keeps the low 16 bits: 70000 gives 4464
  }

 private:
  // A hand-edited number may end in spaces or tabs: they are no digits.
  std::string_view Next() {
    std::string_view line = next_ < lines_.size() ? std::string_view(lines_[next_]) : "";
    ++next_;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
  }

  const std::array<std::string, kShipFileLines>& lines_;
  std::size_t next_ = 0;
};

void ApplyShipLines(Game& game, const std::array<std::string, kShipFileLines>& lines) {
  ShipLines in(lines);
  in.ReadEquipment(game.Life);
  in.ReadEquipment(game.Energie);
  in.ReadEquipment(game.Shock);
  in.ReadEquipment(game.Weapon1);
  in.ReadEquipment(game.Weapon2);
  in.ReadEquipment(game.Weapon3);
  game.Money = AddMoney(0, in.Int());  // money is never negative, whatever the file says
  in.ReadEquipment(game.Boost);

  // Files that end before the boost (older ones) get the start boost.
  if (game.Boost.Max == 0.0f) {
    game.Boost.Max = 1.5f;
    game.Boost.Refreshrate = -0.2f;
    game.Boost.Value = 1.0f;
  }
  // Without life to have, the ship would die in every frame and pay the penalty every time.
  if (!(game.Life.Max > 0)) game.Life.Max = 100;

  const std::int16_t red = Low16(in.Int());
  const std::int16_t green = Low16(in.Int());
  const std::int16_t blue = Low16(in.Int());
  CursorList<Body>& bodies = game.Bodies;
  if (bodies.CountList() > kShipIndex) {
    bodies.SelectElement(kShipIndex);
    Body& ship = bodies.Current();
    ship.Red = red;
    ship.Green = green;
    ship.Blue = blue;
    // A ship without colour would be black on black: it is magenta.
    if (red == 0 && green == 0 && blue == 0) {
      ship.Red = 255;
      ship.Blue = 255;
    }
  }
}

std::string Unreadable(const std::filesystem::path& path, std::error_code error) {
  return "the ship file " + Quoted(path.string()) + " cannot be read (" + error.message() +
         "): the ship flies with the start equipment, and the file is not saved over at the end";
}

}  // namespace

std::string ShipFileName(std::string_view ship_name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name;
  for (char c : ship_name) {
    const auto byte = static_cast<unsigned char>(c);
    if (WrittenAsHex(byte)) {
      name += '%';
      name += kHex[byte >> 4];
      name += kHex[byte & 0xF];
    } else {
      name += c;
    }
  }
  return name + ".shp";
}

std::string LoadShip(Game& game) {
  std::string warning;
  FileTable& files = game.media.Files;
  const std::string name = ShipFileName(game.ShipName);
  if (files.ReadFile(kShipFileSlot, name) != 0) {
    // All lines are read before any is used, so a file that fails halfway changes nothing.
    std::array<std::string, kShipFileLines> lines;
    for (std::string& line : lines) line = files.ReadLine();
    const std::error_code error = files.ReadError(kShipFileSlot);
    files.CloseFile(kShipFileSlot);
    if (error) {
      game.ShipFileUnreadable = true;
      warning = Unreadable(ShipFilePath(game), error);
    } else {
      ApplyShipLines(game, lines);
    }
  } else if (files.LastOpenError() != std::errc::no_such_file_or_directory) {
    // Only an absent file makes a new ship. One that is there but cannot be read may hold the
    // player's ship all the same: it must never be replaced by a fresh one.
    game.ShipFileUnreadable = true;
    warning = Unreadable(ShipFilePath(game), files.LastOpenError());
  }

  // Weapon 1 is selected at the start; its working record starts from it.
  game.ActiveWeapon.Value = game.Weapon1.Value;
  game.ActiveWeapon.Max = game.Weapon1.Max;
  game.ActiveWeapon.Damage = game.Weapon1.Damage;
  game.ActiveWeapon.Refreshrate = 1.0f;
  return warning;
}

void WriteEquipmentLines(std::string& text, float value, float max, float refreshrate, float damage,
                         std::int16_t range) {
  for (float field : {value, max, refreshrate, damage}) text += FloatToText(field) + "\r\n";
  text += IntToText(range) + "\r\n";
}

std::string ShipFileText(Game& game) {
  std::string text;
  auto write = [&text](const Equipment& e) {
    WriteEquipmentLines(text, e.Value, e.Max, e.Refreshrate, e.Damage, e.Range);
  };
  write(game.Life);
  write(game.Energie);
  write(game.Shock);
  write(game.Weapon1);
  write(game.Weapon2);
  write(game.Weapon3);
  text += IntToText(game.Money) + "\r\n";
  write(game.Boost);
  const Body& ship = game.Bodies.At(kShipIndex);
  for (std::int16_t colour : {ship.Red, ship.Green, ship.Blue}) {
    text += IntToText(colour) + "\r\n";
  }
  return text;
}

std::string SaveShip(Game& game) {
  const std::filesystem::path path = ShipFilePath(game);
  if (game.ShipFileUnreadable) {
    return "the ship was not saved: its file " + Quoted(path.string()) +
           " could not be read at the start and is kept as it is";
  }
  std::string why;
  if (!WriteFileAtomically(path, ShipFileText(game), why)) {
    return "cannot save the ship to " + Quoted(path.string()) + " (" + why + ")";
  }
  return "";
}

}  // namespace starvane
