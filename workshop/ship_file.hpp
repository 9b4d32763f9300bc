#pragma once
// The ship file: a ship's equipment, money and colour kept from one game to the next, in text
// lines of their own, named after the ship. Nothing of the world is kept.
//
// Each line is ended by CR LF and holds one field; which line holds what, and how the files of
// older and newer versions are read, is the table of workshop/ship_file_fields.hpp. Floats have
// at most six decimals, integers none.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/files.hpp"
#include "files/system_rules.hpp"
#include "workshop/ship_file_fields.hpp"
#include "world/game.hpp"

namespace starvane {

// A ship file is a few dozen short lines, a few hundred bytes. A file of that name larger than
// 64 KiB is no ship file: it is not read, and not saved over.
constexpr std::uintmax_t kShipFileByteLimit = 64 * 1024;

// The ship's file name: the ship's name followed by ".shp". Bytes that would lead out of the
// files directory or garble a listing ('/', '\', control bytes and DEL) are written %XX
// (uppercase hex), and so is a '%' that would read as such a form (one followed by two hex
// digits): "100%" is "100%.shp", "%2F" is "%252F.shp". Other bytes are kept, so UTF-8 names stay
// readable. No two names share a file. A name whose file name would pass 255 bytes, more than a
// file system takes, keeps the longest start that fits (cut between whole characters and whole
// %XX forms), then "%FF" (a form the rule above never writes) and the 64-bit FNV-1a hash of the
// whole name in 16 hex digits. The name shown in the game and kept in ships.txt is unchanged.
// On Windows the characters it refuses in names (<>:"|?*) are written %XX too, and so is the
// first letter of a name Windows keeps for a device (CON, NUL, COM1, LPT1, ...): "a:b" is
// "a%3Ab.shp", "con" is "%63on.shp". Elsewhere those names stay as they are.
std::string ShipFileName(std::string_view ship_name, SystemRules rules = kThisSystem);

// The ship to fly for a line of the ship list that is not UTF-8, listed as its Windows-1252
// reading `shown`: that name when it has a ship file (under either file name LoadShip reads),
// else the line's own bytes when they have one, as older versions saved such ships (the game
// then flies and saves that file, as --ship with those bytes does); else `shown`, a new ship.
std::string ShipNameForListLine(const std::filesystem::path& directory, const std::string& shown,
                                const std::string& line);

// Reads the file of ShipName, when there is one, into the equipment (not the Active flags),
// Money and the colour of the ship (body 0); then, in every case, arms the start weapon
// (ArmStartWeapon). Missing lines read as their absent texts; a boost of no strength, a ship
// without colour and a maximum life of 0 or less get the start values (ApplyShipLines). A ship
// saved under the names of older versions, which wrote every '%' as %25, is read from that file
// when its own is not there.
// Returns a warning for the player when the file is there but cannot be used: it cannot be
// opened or read (the game then flies with the start values) or it is write-protected (the
// game flies with what it holds); that file is then never saved over. Else the empty text.
// When bytes is given, it receives the bytes of the file the ship was read from (the lines
// applied are read from them), and nothing when the ship is new or its file unreadable.
std::string LoadShip(Game& game, std::optional<std::string>* bytes = nullptr);

// LoadShip from a ship file of these bytes instead of the files directory (the ship a kept
// recording began with), by the same rules: nothing is a new ship (ShipIsNew). Nothing is read
// or written in the files directory, and the ship is never saved (ShipFileProblem says so).
void LoadShipFromBytes(Game& game, const std::optional<std::string>& bytes);

// The lines of a ship file of these bytes as ReadShipLines reads them: ended by LF, CR LF, a
// lone CR, a zero byte or the end, up to the last field's.
std::vector<std::string> ShipLinesFromBytes(std::string_view bytes);

// Replaces the file of ShipName with the lines of the present ship, in one piece: a failure
// leaves the old file as it was. A link is followed, and its file replaced. Returns the empty
// text when the ship was saved, else a message for the player naming the file and why (also
// when the file was left alone for what LoadShip found).
std::string SaveShip(Game& game);

// The lines that SaveShip writes, one for each field of the table.
std::string ShipFileText(const Game& game);

// The lines of the ship file open in that slot of the files (and current), up to the last
// field's: only those it has, so that a field whose line is past its end is known to be absent.
std::vector<std::string> ReadShipLines(FileTable& files, int slot);

// Sets the fields from the lines a ship file has: each field from its line, or from its absent
// text when the file ends before it. Then the fallbacks: a boost of Max 0 gets the start boost, a
// Life.Max of 0 or less the start maximum, a ship of colour 0, 0, 0 (body 0, when there is one)
// turns magenta.
void ApplyShipLines(Game& game, std::span<const std::string> lines,
                    std::span<const ShipFileField> fields = kShipFileFields);

}  // namespace starvane
