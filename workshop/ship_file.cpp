#include "workshop/ship_file.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

#include "base/fnv1a.hpp"
#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "base/text_quoting.hpp"
#include "files/atomic_write.hpp"
#include "workshop/start_weapon.hpp"
#include "world/kinds.hpp"
#include "world/money.hpp"

namespace starvane {
namespace {

constexpr int kShipFileSlot = 1;

// The longest file name the usual file systems take, in bytes.
constexpr std::size_t kLongestFileName = 255;
// What a shortened file name ends with after its start: the mark, 16 hex digits, the suffix.
constexpr std::string_view kShortenedMark = "%FF";
constexpr std::string_view kSuffix = ".shp";
constexpr std::size_t kHashDigits = 16;
constexpr char kHex[] = "0123456789ABCDEF";

// Bytes a file name must not hold as they are: separators would lead into other folders, and
// control bytes garble listings.
bool WrittenAsHex(unsigned char c) {
  return c == '/' || c == '\\' || c < 0x20 || c == 0x7F;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void AppendHex(std::string& text, unsigned char byte) {
  text += '%';
  text += kHex[byte >> 4];
  text += kHex[byte & 0xF];
}

// The name with its bytes written as the file name holds them, and the places where it may be
// cut: before each %XX form and each character, never inside one.
struct WrittenName {
  std::string text;
  std::vector<std::size_t> cuts;
};

// A '%' is written %25 only where it would read as the start of a %XX form: then every %XX of a
// file name is a written byte and every other '%' is one of the name, and the name can be read
// back from its file name.
WrittenName WriteName(std::string_view ship_name) {
  WrittenName written;
  for (std::size_t i = 0; i < ship_name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ship_name[i]);
    const bool starts_a_form = byte == '%' && i + 2 < ship_name.size() &&
                               IsHexDigit(ship_name[i + 1]) && IsHexDigit(ship_name[i + 2]);
    if ((byte & 0xC0) != 0x80) written.cuts.push_back(written.text.size());  // no UTF-8 tail byte
    if (WrittenAsHex(byte) || starts_a_form) {
      AppendHex(written.text, byte);
    } else {
      written.text += static_cast<char>(byte);
    }
  }
  written.cuts.push_back(written.text.size());
  return written;
}

// The file name older versions gave the ship: every '%' written %25, no shortening.
std::string OldShipFileName(std::string_view ship_name) {
  std::string name;
  for (char c : ship_name) {
    const auto byte = static_cast<unsigned char>(c);
    if (WrittenAsHex(byte) || byte == '%') {
      AppendHex(name, byte);
    } else {
      name += c;
    }
  }
  return name + std::string(kSuffix);
}

// Whether the ship of that name has a file, under its own file name or the older one. Only a
// name that is surely not there counts as none.
bool HasShipFile(const std::filesystem::path& directory, std::string_view ship_name) {
  for (const std::string& name : {ShipFileName(ship_name), OldShipFileName(ship_name)}) {
    if (name.size() > kLongestFileName) continue;
    std::error_code error;
    const auto type = std::filesystem::symlink_status(directory / name, error).type();
    if (type != std::filesystem::file_type::not_found) return true;
  }
  return false;
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
  // Money never wraps round: a number beyond the most money is the most money, a negative one
  // none at all.
  std::int32_t Money() { return AddMoney(0, TextToInt(Next(), IntOverflow::Saturate)); }

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
  game.Money = in.Money();  // never negative, never wrapped round, whatever the file says
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

// Appends the five lines of one piece of equipment to the text: value, max, refresh rate,
// damage, range.
void WriteEquipmentLines(std::string& text, float value, float max, float refreshrate, float damage,
                         std::int16_t range) {
  for (float field : {value, max, refreshrate, damage}) text += FloatToText(field) + "\r\n";
  text += IntToText(range) + "\r\n";
}

}  // namespace

std::string ShipFileName(std::string_view ship_name) {
  const WrittenName written = WriteName(ship_name);
  if (written.text.size() + kSuffix.size() <= kLongestFileName) {
    return written.text + std::string(kSuffix);
  }
  const std::size_t room = kLongestFileName - kShortenedMark.size() - kHashDigits - kSuffix.size();
  const auto past = std::upper_bound(written.cuts.begin(), written.cuts.end(), room);
  const std::size_t cut = past == written.cuts.begin() ? 0 : *(past - 1);
  std::string name = written.text.substr(0, cut) + std::string(kShortenedMark);
  const std::uint64_t hash = Fnv1a64(ship_name);
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 0xF];
  return name + std::string(kSuffix);
}

std::string ShipNameForListLine(const std::filesystem::path& directory, const std::string& shown,
                                const std::string& line) {
  if (line == shown || HasShipFile(directory, shown) || !HasShipFile(directory, line)) return shown;
  return line;
}

std::string LoadShip(Game& game) {
  game.ShipIsNew = false;
  FileTable& files = game.media.Files;
  std::string name = ShipFileName(game.ShipName);
  bool opened = files.ReadFile(kShipFileSlot, name, kShipFileByteLimit) != 0;
  const auto absent = [&files] {
    return files.LastOpenError() == std::errc::no_such_file_or_directory;
  };
  if (!opened && absent()) {
    // A ship saved by an older version, under the name that wrote every '%' as %25. That name
    // is never another ship's name of today. The next save writes the ship's own file.
    const std::string old_name = OldShipFileName(game.ShipName);
    if (old_name != name && old_name.size() <= kLongestFileName) {
      opened = files.ReadFile(kShipFileSlot, old_name, kShipFileByteLimit) != 0;
      if (opened || !absent()) name = old_name;
    }
  }
  const std::filesystem::path path = files.Directory() / name;
  const std::string file = "the ship file " + Quoted(path.string());
  std::string& problem = game.ShipFileProblem;
  std::string warning;
  if (opened) {
    // All lines are read before any is used, so a file that fails halfway changes nothing.
    std::array<std::string, kShipFileLines> lines;
    for (std::string& line : lines) line = files.ReadLine();
    const std::error_code error = files.ReadError(kShipFileSlot);
    files.CloseFile(kShipFileSlot);
    if (error) {
      game.ShipFileUnreadable = true;
      problem = file + " cannot be read (" + error.message() + ")";
    } else {
      ApplyShipLines(game, lines);
      // The player has protected the file: the game flies with it and leaves it as it is. So
      // too under the older name, or the save would put a new, writable file beside it.
      if (IsWriteProtected(path)) {
        problem = file + " is write-protected";
        warning = problem + ": the ship flies with what it holds, but it is not saved at the end";
      }
    }
  } else if (!absent()) {
    // Only an absent file makes a new ship. One that is there but cannot be opened may hold the
    // player's ship all the same: it must never be replaced by a fresh one.
    game.ShipFileUnreadable = true;
    problem = file + " cannot be opened (" + files.LastOpenError().message() + ")";
  } else {
    game.ShipIsNew = true;
  }
  if (game.ShipFileUnreadable) {
    warning =
        problem +
        ": the ship flies with the start equipment, and the file is not saved over at the end";
  }

  ArmStartWeapon(game);
  return warning;
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
  if (!game.ShipFileProblem.empty()) {
    return "the ship was not saved: " + game.ShipFileProblem + ", and the file is kept as it is";
  }
  const std::filesystem::path path = game.media.Files.Directory() / ShipFileName(game.ShipName);
  std::string why;
  if (!WriteFileAtomically(path, ShipFileText(game), why)) {
    return "cannot save the ship to " + Quoted(path.string()) + " (" + why + ")";
  }
  return "";
}

}  // namespace starvane
