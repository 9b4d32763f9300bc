#include "workshop/ship_file.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <span>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "base/fnv1a.hpp"
#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "base/text_quoting.hpp"
#include "files/atomic_write.hpp"
#include "files/path_text.hpp"
#include "files/system_rules.hpp"
#include "workshop/start_weapon.hpp"
#include "world/kinds.hpp"
#include "world/money.hpp"

namespace starvane {
namespace {

constexpr int kShipFileSlot = 1;

// One callable made of several, for visiting the kinds of ship-file fields: a kind left out does
// not compile.
template <class... Ways>
struct Overloaded : Ways... {
  using Ways::operator()...;
};
template <class... Ways>
Overloaded(Ways...) -> Overloaded<Ways...>;

// The longest file name the usual file systems take, in bytes.
constexpr std::size_t kLongestFileName = 255;
// What a shortened file name ends with after its start: the mark, 16 hex digits, the suffix.
constexpr std::string_view kShortenedMark = "%FF";
constexpr std::string_view kSuffix = ".shp";
constexpr std::size_t kHashDigits = 16;
constexpr char kHex[] = "0123456789ABCDEF";

// Bytes a file name must not hold as they are: separators would lead into other folders, and
// control bytes garble listings. Windows also refuses the characters its paths and wildcards
// use (a ':' would even name a hidden stream of another file).
bool WrittenAsHex(unsigned char c, SystemRules rules) {
  if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return true;
  return rules == SystemRules::Windows &&
         std::string_view("<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos;
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether Windows takes the file name for a device: CON, PRN, AUX, NUL, COM and LPT with a
// digit (or a superscript one, two or three), in any case, alone or before the first dot (and
// the spaces before it), whatever follows. "NUL.shp" opens no file but the null device.
bool IsWindowsDeviceName(std::string_view file_name) {
  std::string stem(file_name.substr(0, file_name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  std::transform(stem.begin(), stem.end(), stem.begin(), UpperAscii);
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  if (!stem.starts_with("COM") && !stem.starts_with("LPT")) return false;
  const std::string_view number = std::string_view(stem).substr(3);
  return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
         number == "\xC2\xB2" || number == "\xC2\xB3";  // ¹ ² ³
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
// back from its file name. (Older versions wrote every '%' so: every_percent.) On Windows a name
// that would be a device's has its first letter written %XX ("CON" is "%43ON.shp"), which no
// device name starts with; the suffix keeps the name from ending in a dot or a space, which
// Windows would drop.
WrittenName WriteName(std::string_view ship_name, SystemRules rules, bool every_percent = false) {
  WrittenName written;
  for (std::size_t i = 0; i < ship_name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ship_name[i]);
    const bool starts_a_form = byte == '%' && i + 2 < ship_name.size() &&
                               IsHexDigit(ship_name[i + 1]) && IsHexDigit(ship_name[i + 2]);
    if ((byte & 0xC0) != 0x80) written.cuts.push_back(written.text.size());  // no UTF-8 tail byte
    if (WrittenAsHex(byte, rules) || starts_a_form || (every_percent && byte == '%')) {
      AppendHex(written.text, byte);
    } else {
      written.text += static_cast<char>(byte);
    }
  }
  written.cuts.push_back(written.text.size());
  if (rules == SystemRules::Windows && IsWindowsDeviceName(written.text)) {
    const auto first = static_cast<unsigned char>(written.text[0]);
    written.text.erase(0, 1);
    std::string form;
    AppendHex(form, first);
    written.text.insert(0, form);
    for (std::size_t k = 1; k < written.cuts.size(); ++k) written.cuts[k] += form.size() - 1;
  }
  return written;
}

// The file name older versions gave the ship: every '%' written %25, no shortening.
std::string OldShipFileName(std::string_view ship_name) {
  return WriteName(ship_name, kThisSystem, true).text + std::string(kSuffix);
}

// The other file names a ship's file may have, tried in turn when its own is absent: the one
// older versions gave it, and, off Windows, the one Windows gives it (a ship copied from there
// whose name Windows forbids, "a:b" saved as "a%3Ab.shp"). Neither is ever another ship's own
// file name here: a % and two hex digits in a file name always stand for a byte, and here no
// letter Windows forbids is written so.
std::vector<std::string> OtherShipFileNames(std::string_view ship_name) {
  const std::string own = ShipFileName(ship_name);
  std::vector<std::string> names;
  for (std::string name :
       {OldShipFileName(ship_name), ShipFileName(ship_name, SystemRules::Windows)}) {
    if (name != own && name.size() <= kLongestFileName &&
        std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(std::move(name));
    }
  }
  return names;
}

// Whether the ship of that name has a file, under its own file name or another it may have.
// Only a name that is surely not there counts as none.
bool HasShipFile(const std::filesystem::path& directory, std::string_view ship_name) {
  std::vector<std::string> names = OtherShipFileNames(ship_name);
  names.insert(names.begin(), ShipFileName(ship_name));
  for (const std::string& name : names) {
    if (name.size() > kLongestFileName) continue;
    std::error_code error;
    const auto type = std::filesystem::symlink_status(directory / PathOfText(name), error).type();
    if (type != std::filesystem::file_type::not_found) return true;
  }
  return false;
}

// A hand-edited number may end in spaces or tabs: they are no digits.
std::string_view WithoutTrailingBlanks(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

// A number too large for a float reads as the largest float of its sign, not as an infinity:
// an infinite energy drained by an infinite shock would be no number at all, and every test
// of it (is the energy used up? is the ship dead?) would fail from then on.
float ShipFloatFromText(std::string_view text) {
  const float value = TextToFloat(text);
  if (std::isnan(value)) return 0;
  return std::clamp(value, -std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
}

// The bytes of the ship file at path, up to the limit of a ship file; nothing, with the error,
// when it cannot be read or has grown past the limit.
std::optional<std::string> ReadShipBytes(const std::filesystem::path& path,
                                         std::error_code& error) {
  std::ifstream file(path, std::ios::binary);
  std::string bytes;
  std::array<char, 4096> buffer;
  while (file && bytes.size() <= kShipFileByteLimit) {
    file.read(buffer.data(), buffer.size());
    bytes.append(buffer.data(), static_cast<std::size_t>(file.gcount()));
  }
  if (file.bad() || !file.eof()) {
    error = std::make_error_code(file.bad() || bytes.size() <= kShipFileByteLimit
                                     ? std::errc::io_error
                                     : std::errc::file_too_large);
    return std::nullopt;
  }
  return bytes;
}

bool HasShip(const Game& game) {
  return game.Bodies.CountList() > kShipIndex;
}

// Stores the text of a line in its field, read as the field's kind is.
void ReadField(Game& game, const ShipFieldPlace& place, std::string_view text) {
  std::visit(Overloaded{
                 [&](const EquipmentNumber& number) {
                   (game.*number.record).*number.field = ShipFloatFromText(text);
                 },
                 [&](const EquipmentRange& range) {
                   // a 16-bit field keeps the low 16 bits: 70000 gives 4464
                   (game.*range.record).Range = Low16(TextToInt(text));
                 },
                 [&](const ShipMoney&) {
                   // never negative, never wrapped round: beyond the most money is the most money
                   game.Money = AddMoney(0, TextToInt(text, IntOverflow::Saturate));
                 },
                 [&](const ShipColour& colour) {
                   if (HasShip(game)) {
                     game.Bodies.At(kShipIndex).*colour.component = Low16(TextToInt(text));
                   }
                 },
             },
             place);
}

// The line that holds a field, without its end.
std::string FieldText(const Game& game, const ShipFieldPlace& place) {
  return std::visit(
      Overloaded{
          [&](const EquipmentNumber& number) {
            return FloatToText((game.*number.record).*number.field);
          },
          [&](const EquipmentRange& range) { return IntToText((game.*range.record).Range); },
          [&](const ShipMoney&) { return IntToText(game.Money); },
          [&](const ShipColour& colour) {
            return IntToText(game.Bodies.At(kShipIndex).*colour.component);
          },
      },
      place);
}

}  // namespace

std::vector<std::string> ReadShipLines(FileTable& files, int slot) {
  std::vector<std::string> lines;
  while (lines.size() < kShipFileFields.size()) {
    const bool ended = files.Eof(slot) != 0;
    // Read even at the end: a read error that ended the file is noted by the read.
    std::string line = files.ReadLine();
    if (ended) break;
    lines.push_back(std::move(line));
  }
  return lines;
}

void ApplyShipLines(Game& game, std::span<const std::string> lines,
                    std::span<const ShipFileField> fields) {
  for (const ShipFileField& field : fields) {
    const auto index = static_cast<std::size_t>(field.line - 1);
    ReadField(game, field.place,
              index < lines.size() ? WithoutTrailingBlanks(lines[index]) : field.absent);
  }

  // A boost of Max 0 gets the start boost: so do files that end before the boost (older ones).
  if (game.Boost.Max == 0.0f) {
    game.Boost.Max = 1.5f;
    game.Boost.Refreshrate = -0.2f;
    game.Boost.Value = 1.0f;
  }
  // Without life to have, the ship would die in every frame and pay the penalty every time.
  if (!(game.Life.Max > 0)) game.Life.Max = 100;

  if (HasShip(game)) {
    game.Bodies.SelectElement(kShipIndex);
    Body& ship = game.Bodies.Current();
    // A ship without colour would be black on black: it is magenta.
    if (ship.Red == 0 && ship.Green == 0 && ship.Blue == 0) {
      ship.Red = 255;
      ship.Blue = 255;
    }
  }
}

std::string ShipFileName(std::string_view ship_name, SystemRules rules) {
  const WrittenName written = WriteName(ship_name, rules);
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

std::vector<std::string> ShipLinesFromBytes(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (lines.size() < kShipFileFields.size() && i < bytes.size()) {
    std::string line;
    while (i < bytes.size()) {
      const char byte = bytes[i++];
      if (byte == '\n' || byte == '\0') break;
      if (byte == '\r') {
        if (i < bytes.size() && bytes[i] == '\n') ++i;  // CR LF is one line end
        break;
      }
      line += byte;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void LoadShipFromBytes(Game& game, const std::optional<std::string>& bytes) {
  game.ShipIsNew = !bytes.has_value();
  if (bytes) ApplyShipLines(game, ShipLinesFromBytes(*bytes));
  game.ShipFileProblem = "the ship of a replay is never saved";
  ArmStartWeapon(game);
}

std::string LoadShip(Game& game, std::optional<std::string>* bytes) {
  if (bytes != nullptr) bytes->reset();
  game.ShipIsNew = false;
  FileTable& files = game.media.Files;
  std::string name = ShipFileName(game.ShipName);
  bool opened = files.ReadFile(kShipFileSlot, name, kShipFileByteLimit) != 0;
  const auto absent = [&files] {
    return files.LastOpenError() == std::errc::no_such_file_or_directory;
  };
  // A ship saved by an older version, or on Windows, under a name of the file that is never
  // another ship's here. The next save writes the ship's own file.
  for (const std::string& other : OtherShipFileNames(game.ShipName)) {
    if (opened || !absent()) break;
    opened = files.ReadFile(kShipFileSlot, other, kShipFileByteLimit) != 0;
    if (opened || !absent()) name = other;
  }
  const std::filesystem::path path = files.Directory() / PathOfText(name);
  const std::string file = "the ship file " + Quoted(TextOfPath(path));
  std::string& problem = game.ShipFileProblem;
  std::string warning;
  if (opened) {
    // All lines are read before any is used, so a file that fails halfway changes nothing.
    std::vector<std::string> lines = ReadShipLines(files, kShipFileSlot);
    std::error_code error = files.ReadError(kShipFileSlot);
    files.CloseFile(kShipFileSlot);
    if (!error && bytes != nullptr) {
      // The bytes are read once more, whole, and the lines taken from them: what is applied is
      // then exactly what a replay of these bytes applies.
      *bytes = ReadShipBytes(path, error);
      if (*bytes) lines = ShipLinesFromBytes(**bytes);
    }
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

std::string ShipFileText(const Game& game) {
  std::string text;
  for (const ShipFileField& field : kShipFileFields) text += FieldText(game, field.place) + "\r\n";
  return text;
}

std::string SaveShip(Game& game) {
  if (!game.ShipFileProblem.empty()) {
    return "the ship was not saved: " + game.ShipFileProblem + ", and the file is kept as it is";
  }
  const std::filesystem::path path =
      game.media.Files.Directory() / PathOfText(ShipFileName(game.ShipName));
  std::string why;
  if (!WriteFileAtomically(path, ShipFileText(game), why)) {
    return "cannot save the ship to " + Quoted(TextOfPath(path)) + " (" + why + ")";
  }
  return "";
}

}  // namespace starvane
