// The ship file: its lines byte for byte, loading with the fallbacks of short and hand-edited
// files, garbage that must fly without a fault, the names that must stay inside the files
// directory, files that must never be saved over, the all-or-nothing replacement of a file, and
// the choice of the files directory.

#include "workshop/ship_file.hpp"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/utf8_text.hpp"
#include "files/atomic_write.hpp"
#include "files/files_directory.hpp"
#include "files/path_text.hpp"
#include "tests/support/harness.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;
using starvane::testing::Harness;
using starvane::testing::TempDirectory;
using starvane::testing::World;

// A generated world whose files are in the given directory, flown by an input script.
Harness ShipGame(const fs::path& files, std::string_view script = "") {
  return Harness(
      {.files = files, .script = script, .seed = 3, .difficulty = 10, .world = World::Generated});
}

// The lines joined with CR LF, each line ended by it.
std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The names in a directory, sorted.
std::vector<std::string> Listing(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(TextOfPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<std::string> kFreshShip{
    "100", "100", "0.005", "0", "0", "300", "300", "0.1",  "0",  "0", "0",   "0", "-0.5",
    "0.1", "100", "0",     "2", "0", "1",   "0",   "0",    "20", "0", "10",  "0", "0",
    "200", "0",   "10",    "0", "0", "1",   "1.5", "-0.2", "0",  "0", "255", "0", "255"};

TEST(ShipFile, AFreshShipFliesWithWeaponOneAndSavesTheThirtyNineStartLines) {
  TempDirectory dir;
  Harness t = ShipGame(dir.Path());
  EXPECT_EQ(t.game.ActiveWeapon.Max, 0.0f);
  EXPECT_EQ(LoadShip(t.game), "");  // no file: a new ship, without a word
  EXPECT_FALSE(t.game.ShipFileUnreadable);
  EXPECT_EQ(t.game.ActiveWeapon.Max, 2.0f);
  EXPECT_EQ(t.game.ActiveWeapon.Damage, 1.0f);
  EXPECT_EQ(t.game.ActiveWeapon.Refreshrate, 1.0f);

  EXPECT_EQ(SaveShip(t.game), "");
  EXPECT_EQ(dir.Read("MyShip.shp"), Lines(kFreshShip));
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"MyShip.shp"});
}

TEST(ShipFile, ASavedShipLoadsBackToSixDecimalsAndReplacesALongerOldFileWhole) {
  TempDirectory dir;
  dir.Write("Nova.shp", Lines(kFreshShip) + "a tail of an older, longer file\r\n1\r\n2\r\n");
  Harness a = ShipGame(dir.Path());
  a.game.ShipName = "Nova";
  a.game.Life = {0, 12.3456789f, 250.5f, 0.0000004f, 0, 7};
  a.game.Energie = {0, 1e6f, 1e7f, 0.25f, -3.5f, -32768};
  a.game.Shock = {1, 0, 0, -0.75f, 0.35f, 400};
  a.game.Weapon1 = {0, 1, 1.5f, 0, 2.5f, 0};
  a.game.Weapon3 = {0, 0, 150, 0, 40, 0};
  a.game.Boost = {1, 1, 2.25f, -0.4f, 0, 0};
  a.game.Money = 123456;
  a.game.SelectedWeapon = 3;
  a.Ship().Red = 10;
  a.Ship().Green = 20;
  a.Ship().Blue = 30;
  ASSERT_EQ(SaveShip(a.game), "");
  const std::string saved = dir.Read("Nova.shp");
  EXPECT_EQ(saved.find("tail"), std::string::npos);
  EXPECT_EQ(saved.substr(0, 27), "12.345679\r\n250.5\r\n0\r\n0\r\n7\r\n");

  Harness b = ShipGame(dir.Path());
  b.game.ShipName = "Nova";
  ASSERT_EQ(LoadShip(b.game), "");
  const auto same = [](const Equipment& x, const Equipment& y, const char* name) {
    const auto near = [](float u, float v) {
      return std::fabs(u - v) <= 5e-7f + std::fabs(u) * 1e-7f;
    };
    EXPECT_TRUE(near(x.Value, y.Value) && near(x.Max, y.Max) &&
                near(x.Refreshrate, y.Refreshrate) && near(x.Damage, y.Damage) &&
                x.Range == y.Range)
        << name;
  };
  same(b.game.Life, a.game.Life, "Life");
  same(b.game.Energie, a.game.Energie, "Energie");
  same(b.game.Shock, a.game.Shock, "Shock");
  same(b.game.Weapon1, a.game.Weapon1, "Weapon1");
  same(b.game.Weapon2, a.game.Weapon2, "Weapon2");
  same(b.game.Weapon3, a.game.Weapon3, "Weapon3");
  same(b.game.Boost, a.game.Boost, "Boost");
  EXPECT_EQ(b.game.Life.Refreshrate, 0.0f);  // below the sixth decimal: lost
  EXPECT_EQ(b.game.Money, 123456);
  EXPECT_EQ(b.Ship().Red, 10);
  EXPECT_EQ(b.Ship().Green, 20);
  EXPECT_EQ(b.Ship().Blue, 30);
  // Switches and the weapon choice are not kept: everything is off and weapon 1 is selected.
  EXPECT_EQ(b.game.Shock.Active, 0);
  EXPECT_EQ(b.game.Boost.Active, 0);
  EXPECT_EQ(b.game.SelectedWeapon, 1);
  EXPECT_EQ(b.game.ActiveWeapon.Max, 1.5f);
  EXPECT_EQ(b.game.ActiveWeapon.Damage, 2.5f);
  EXPECT_EQ(b.game.ActiveWeapon.Value, 1.0f);
  EXPECT_EQ(b.game.ActiveWeapon.Refreshrate, 1.0f);
}

TEST(ShipFile, ShortFilesGetTheStartBoostAndAColourlessShipTurnsMagenta) {
  TempDirectory dir;
  std::vector<std::string> lines(kFreshShip.begin(),
                                 kFreshShip.begin() + ShipFileIndex("Boost.Value"));
  lines[ShipFileIndex("Money")] = "777";
  dir.Write("MyShip.shp", Lines(lines));
  Harness short_file = ShipGame(dir.Path());
  short_file.Ship().Red = 1;  // whatever the factory gave, the file's 0, 0, 0 wins
  LoadShip(short_file.game);
  EXPECT_EQ(short_file.game.Money, 777);
  EXPECT_EQ(short_file.game.Boost.Value, 1.0f);
  EXPECT_EQ(short_file.game.Boost.Max, 1.5f);
  EXPECT_EQ(short_file.game.Boost.Refreshrate, -0.2f);
  EXPECT_EQ(short_file.Ship().Red, 255);
  EXPECT_EQ(short_file.Ship().Green, 0);
  EXPECT_EQ(short_file.Ship().Blue, 255);

  // 36 lines: a boost of its own, still no colour. A boost of Max 0 gets the start boost but
  // keeps its damage and range.
  for (const char* max : {"3", "0"}) {
    lines = std::vector<std::string>(kFreshShip.begin(), kFreshShip.begin() + ShipFileIndex("Red"));
    lines[ShipFileIndex("Boost.Value")] = "7";
    lines[ShipFileIndex("Boost.Max")] = max;
    lines[ShipFileIndex("Boost.Refreshrate")] = "-9";
    lines[ShipFileIndex("Boost.Damage")] = "4";
    lines[ShipFileIndex("Boost.Range")] = "5";
    dir.Write("MyShip.shp", Lines(lines));
    Harness t = ShipGame(dir.Path());
    LoadShip(t.game);
    const bool own = std::string(max) == "3";
    EXPECT_EQ(t.game.Boost.Value, own ? 7.0f : 1.0f) << max;
    EXPECT_EQ(t.game.Boost.Max, own ? 3.0f : 1.5f) << max;
    EXPECT_EQ(t.game.Boost.Refreshrate, own ? -9.0f : -0.2f) << max;
    EXPECT_EQ(t.game.Boost.Damage, 4.0f) << max;
    EXPECT_EQ(t.game.Boost.Range, 5) << max;
    EXPECT_EQ(t.Ship().Red, 255);
    EXPECT_EQ(t.Ship().Blue, 255);
  }
}

// A field that a newer version adds after the last line: an older file ends before it and so
// gets its absent text, but a line that is there is read, even when it is empty.
TEST(ShipFile, AFieldPastTheEndOfTheFileGetsItsAbsentTextButALineThatIsThereIsRead) {
  constexpr std::array<ShipFileField, 2> kFields{{
      {1, "Money", ShipMoney{}, "0"},
      {2, "Weapon2.Damage", EquipmentNumber{&Game::Weapon2, &Equipment::Damage}, "7.5"},
  }};
  Harness t;
  for (const auto& [bytes, damage] : std::vector<std::pair<std::string, float>>{
           {"12", 7.5f}, {"12\r\n", 7.5f}, {"12\r\n\r\n", 0}, {"12\r\n3\r\n", 3}}) {
    t.files.Write("Older.shp", bytes);
    ASSERT_NE(t.media.Files.ReadFile(1, "Older.shp"), 0);
    ApplyShipLines(t.game, ReadShipLines(t.media.Files, 1), kFields);
    t.media.Files.CloseFile(1);
    EXPECT_EQ(t.game.Money, 12);
    EXPECT_EQ(t.game.Weapon2.Damage, damage) << bytes;
  }
}

TEST(ShipFile, SixteenBitFieldsKeepTheirLowBitsAndHandEditedNumbersReadAsMeant) {
  TempDirectory dir;
  std::vector<std::string> lines = kFreshShip;
  lines[ShipFileIndex("Life.Max")] = "-20";            // 0 or less: the start maximum
  lines[ShipFileIndex("Life.Range")] = "70000";        // the low 16 bits
  lines[ShipFileIndex("Energie.Range")] = "1000 \t ";  // trailing blanks are no digits
  lines[ShipFileIndex("Shock.Range")] = "-70000";
  lines[ShipFileIndex("Money")] = "-500";  // Money is never negative
  lines[ShipFileIndex("Red")] = "65791 ";  // 65536 + 255
  lines[ShipFileIndex("Green")] = "1\t";
  lines[ShipFileIndex("Blue")] = "-1";
  dir.Write("MyShip.shp", Lines(lines));
  Harness t = ShipGame(dir.Path());
  t.game.Money = 42;
  LoadShip(t.game);
  EXPECT_EQ(t.game.Life.Max, 100.0f);
  EXPECT_EQ(t.game.Life.Range, 4464);
  EXPECT_EQ(t.game.Energie.Range, 1000);
  EXPECT_EQ(t.game.Shock.Range, -4464);
  EXPECT_EQ(t.game.Money, 0);
  EXPECT_EQ(t.Ship().Red, 255);
  EXPECT_EQ(t.Ship().Green, 1);
  EXPECT_EQ(t.Ship().Blue, -1);

  // A ship whose file says it has no life to have does not die and pay in every frame.
  lines = kFreshShip;
  lines[ShipFileIndex("Life.Value")] = "0";
  lines[ShipFileIndex("Life.Max")] = "0";
  lines[ShipFileIndex("Money")] = "5000";
  dir.Write("MyShip.shp", Lines(lines));
  Harness dead = ShipGame(dir.Path());
  dead.game.Difficulty = 1;  // a penalty of 1000
  LoadShip(dead.game);
  dead.RunFrames(50);
  EXPECT_EQ(dead.game.Money, 4000);  // it died once, at the start, and came back with life
  EXPECT_GT(dead.game.Life.Value, 0.0f);
}

TEST(ShipFile, NoNameMakesAFileOutsideTheFilesDirectory) {
  EXPECT_EQ(ShipFileName("MyShip"), "MyShip.shp");
  EXPECT_EQ(ShipFileName(""), ".shp");
  EXPECT_EQ(ShipFileName(".."), "...shp");
  EXPECT_EQ(ShipFileName("../up"), "..%2Fup.shp");
  EXPECT_EQ(ShipFileName("a\\b"), "a%5Cb.shp");
  EXPECT_EQ(ShipFileName(std::string("t\tab\nnl\x7f\0z", 10)), "t%09ab%0Anl%7F%00z.shp");
  EXPECT_EQ(ShipFileName("100% a%2Fb"), "100% a%252Fb.shp");        // never the file of "100% a/b"
  EXPECT_EQ(ShipFileName("Q\xC3\xA9 \xFF"), "Q\xC3\xA9 \xFF.shp");  // other bytes as they are
  for (const char* name : {"", "..", "../up", "/", "a\\b", "."}) {
    EXPECT_TRUE(FileTable::IsPlainFileName(ShipFileName(name))) << name;
  }

  TempDirectory outer;
  fs::create_directory(outer.Path() / "files");
  for (const char* name : {"../up", "/tmp/x", "", "\r\n"}) {
    Harness a = ShipGame(outer.Path() / "files");
    a.game.ShipName = name;
    a.game.Money = 99;
    ASSERT_EQ(SaveShip(a.game), "") << name;
    Harness b = ShipGame(outer.Path() / "files");
    b.game.ShipName = name;
    EXPECT_EQ(LoadShip(b.game), "") << name;
    EXPECT_EQ(b.game.Money, 99) << name;
    EXPECT_EQ(b.game.ShipName, name);  // the name itself is unchanged
  }
  EXPECT_EQ(Listing(outer.Path()), std::vector<std::string>{"files"});
  EXPECT_EQ(Listing(outer.Path() / "files"),
            (std::vector<std::string>{"%0D%0A.shp", "%2Ftmp%2Fx.shp", "..%2Fup.shp", ".shp"}));
}

// The file name read back: every %XX is the byte it writes, every other byte itself.
std::string NameOfFile(std::string file) {
  file.resize(file.size() - 4);  // ".shp"
  std::string name;
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '%' && i + 2 < file.size() &&
        std::isxdigit(static_cast<unsigned char>(file[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(file[i + 2]))) {
      name += static_cast<char>(std::stoi(file.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      name += file[i];
    }
  }
  return name;
}

TEST(ShipFile, APercentSignIsWrittenAsItIsUnlessItWouldReadAsAWrittenByte) {
  EXPECT_EQ(ShipFileName("100%"), "100%.shp");
  EXPECT_EQ(ShipFileName("%%"), "%%.shp");
  EXPECT_EQ(ShipFileName("%2F"), "%252F.shp");
  EXPECT_EQ(ShipFileName("a%2fb"), "a%252fb.shp");
  EXPECT_EQ(ShipFileName("%%41"), "%%2541.shp");
  EXPECT_EQ(ShipFileName("%A\x01"), "%A%01.shp");  // the next bytes as the name has them
  EXPECT_EQ(ShipFileName("%AG %a"), "%AG %a.shp");

  // One name, one file, and the name reads back from it.
  const std::vector<std::string> names{
      "",      "%",      "%%",    "%25",  "%2525",   "%2F",       "/",      "a/b",     "a%2Fb",
      "a%2fb", "%A\x01", "%A%01", "%a1",  "%FF",     "\xFF",      "%%41",   "%41",     "A",
      "%\x7F", "%%%",    "%2",    "%25%", "100% ok", "\xC3\xA9%", "%C3%A9", "\xC3\xA9"};
  std::vector<std::string> files;
  for (const std::string& name : names) {
    files.push_back(ShipFileName(name));
    EXPECT_TRUE(FileTable::IsPlainFileName(files.back())) << name;
    EXPECT_EQ(NameOfFile(files.back()), name) << files.back();
  }
  std::vector<std::string> long_names{std::string(300, '%'), std::string(100, '/'),
                                      std::string(300, 'a'), std::string(300, 'a') + "b"};
  for (const char* piece : {"%25", "%2", "%A", "A%"}) {
    std::string name;
    while (name.size() < 300) name += piece;
    long_names.push_back(name);
  }
  for (const std::string& name : long_names) files.push_back(ShipFileName(name));
  std::sort(files.begin(), files.end());
  EXPECT_EQ(std::adjacent_find(files.begin(), files.end()), files.end());

  // A ship saved when every '%' was written %25 keeps loading from that file; its next save
  // goes to its own file, and the old one is left alone. Its own file wins from then on.
  TempDirectory dir;
  std::vector<std::string> lines = kFreshShip;
  lines[ShipFileIndex("Money")] = "700";
  dir.Write("100%25.shp", Lines(lines));
  Harness a = ShipGame(dir.Path());
  a.game.ShipName = "100%";
  EXPECT_EQ(LoadShip(a.game), "");
  EXPECT_EQ(a.game.Money, 700);
  a.game.Money = 800;
  EXPECT_EQ(SaveShip(a.game), "");
  EXPECT_EQ(dir.Read("100%25.shp"), Lines(lines));
  Harness b = ShipGame(dir.Path());
  b.game.ShipName = "100%";
  EXPECT_EQ(LoadShip(b.game), "");
  EXPECT_EQ(b.game.Money, 800);
  // An old file that is there but cannot be read is kept as well.
  fs::create_directory(dir.Path() / "50%25.shp");
  Harness c = ShipGame(dir.Path());
  c.game.ShipName = "50%";
  EXPECT_NE(LoadShip(c.game).find("50%25.shp"), std::string::npos);
  EXPECT_NE(SaveShip(c.game), "");
  EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"100%.shp", "100%25.shp", "50%25.shp"}));
}

// Windows refuses some characters in names and keeps some names for its devices ("NUL.shp" is
// the null device, whatever the extension): there they are written %XX like '/', so each name
// still has a file of its own and reads back from it. On Linux those names stay as they are.
TEST(ShipFile, NamesWindowsForbidsAreWrittenAsBytesThereAndKeptElsewhere) {
  const auto windows = [](std::string_view name) {
    return ShipFileName(name, SystemRules::Windows);
  };
  EXPECT_EQ(windows("CON"), "%43ON.shp");
  EXPECT_EQ(windows("nul.txt"), "%6Eul.txt.shp");
  EXPECT_EQ(windows("Com1 .x"), "%43om1 .x.shp");
  EXPECT_EQ(windows("lpt\xC2\xB9"), "%6Cpt\xC2\xB9.shp");
  EXPECT_EQ(windows("a:b<>\"|?*"), "a%3Ab%3C%3E%22%7C%3F%2A.shp");
  for (const std::string name : {"CONSOLE", "COM10", "NULL", "xAUX", "LPT", "PRN_", "Aux1"}) {
    EXPECT_EQ(windows(name), name + ".shp");
  }
  EXPECT_EQ(ShipFileName("CON", SystemRules::Posix), "CON.shp");
  EXPECT_EQ(ShipFileName("a:b?", SystemRules::Posix), "a:b?.shp");
  std::vector<std::string> files;
  for (const std::string name : {"CON", "con", "%43ON", "C", "aux.", "a:b", "a%3Ab", "LPT9"}) {
    files.push_back(windows(name));
    EXPECT_EQ(NameOfFile(files.back()), name) << files.back();
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(std::adjacent_find(files.begin(), files.end()), files.end());
  // A shortened name keeps its cut inside whole forms.
  EXPECT_EQ(windows("CON." + std::string(300, ':')).substr(0, 9), "%43ON.%3A");

  // On this system such ships and UTF-8 names save and load under their own files.
  TempDirectory dir;
  const std::vector<std::string> names{"CON", "nul.txt", "a:b", "N\xC3\xB6va",
                                       "\xC3\x98re \xF0\x9F\x9A\x80"};
  std::vector<std::string> expected;
  for (const std::string& name : names) {
    Harness a = ShipGame(dir.Path());
    a.game.ShipName = name;
    EXPECT_EQ(LoadShip(a.game), "") << name;
    a.game.Money = 321;
    EXPECT_EQ(SaveShip(a.game), "") << name;
    Harness b = ShipGame(dir.Path());
    b.game.ShipName = name;
    EXPECT_EQ(LoadShip(b.game), "") << name;
    EXPECT_EQ(b.game.Money, 321) << name;
    expected.push_back(ShipFileName(name));
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Listing(dir.Path()), expected);

  // A ship file copied from Windows under its Windows name still flies that ship elsewhere.
  if (kThisSystem == SystemRules::Posix) {
    TempDirectory copied;
    std::vector<std::string> lines = kFreshShip;
    lines[ShipFileIndex("Money")] = "654";
    copied.Write("%43ON.shp", Lines(lines));
    copied.Write("x%3Ay.shp", Lines(lines));
    for (const char* name : {"CON", "x:y"}) {
      Harness c = ShipGame(copied.Path());
      c.game.ShipName = name;
      EXPECT_EQ(LoadShip(c.game), "") << name;
      EXPECT_EQ(c.game.Money, 654) << name;
    }
  }
}

TEST(ShipFile, AShipOfAnyNameLengthSavesUnderAShortenedStableFileName) {
  const std::string file = ShipFileName(std::string(300, 'a'));
  EXPECT_EQ(file, std::string(232, 'a') + "%FFEE7717EBA7A17E21.shp");
  EXPECT_EQ(ShipFileName(std::string(251, 'b')), std::string(251, 'b') + ".shp");
  EXPECT_EQ(ShipFileName(std::string(252, 'b')).size(), 255u);

  // The start kept is the file name of a start of the name: never half a character or a %XX.
  std::string e_acute, slashes, mixed;
  for (int i = 0; i < 200; ++i) e_acute += "\xC3\xA9";
  for (int i = 0; i < 100; ++i) slashes += "/";
  for (int i = 0; i < 60; ++i) mixed += "x\xE2\x82\xAC/";
  // "a" and 115 of them fill 231 bytes: the 232nd, where a cut by bytes would fall, starts one.
  for (const std::string& name : {e_acute, "a" + e_acute, slashes, mixed, "y" + slashes}) {
    const std::string shortened = ShipFileName(name);
    ASSERT_LE(shortened.size(), 255u);
    ASSERT_GT(shortened.size(), 23u);
    const std::string start = shortened.substr(0, shortened.size() - 23);
    EXPECT_EQ(shortened.substr(start.size(), 3), "%FF");
    EXPECT_TRUE(IsUtf8(start)) << shortened;
    bool whole = false;
    for (std::size_t k = 0; k <= name.size() && !whole; ++k) {
      whole = ShipFileName(name.substr(0, k)) == start + ".shp";
    }
    EXPECT_TRUE(whole) << shortened;
    EXPECT_GE(start.size(), 230u) << shortened;
  }

  // Such a ship saves and loads, and its name stays whole.
  TempDirectory dir;
  const std::string name = e_acute + "/and the end";
  Harness a = ShipGame(dir.Path());
  a.game.ShipName = name;
  EXPECT_EQ(LoadShip(a.game), "");
  a.game.Money = 4242;
  EXPECT_EQ(SaveShip(a.game), "");
  Harness b = ShipGame(dir.Path());
  b.game.ShipName = name;
  EXPECT_EQ(LoadShip(b.game), "");
  EXPECT_EQ(b.game.Money, 4242);
  EXPECT_EQ(b.game.ShipName, name);
  Harness other = ShipGame(dir.Path());
  other.game.ShipName = e_acute + "/and another end";
  EXPECT_EQ(LoadShip(other.game), "");
  EXPECT_EQ(other.game.Money, 0);
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{ShipFileName(name)});

#ifndef _WIN32  // no symbolic links for a plain user on Windows
  // A name the system still finds too long (here through a link) is reported as such, at the
  // start and at the end.
  fs::create_symlink(std::string(300, 'z'), dir.Path() / "Long.shp");
  Harness c = ShipGame(dir.Path());
  c.game.ShipName = "Long";
  EXPECT_NE(LoadShip(c.game).find("(File name too long)"), std::string::npos);
  const std::string problem = SaveShip(c.game);
  EXPECT_NE(problem.find("(File name too long)"), std::string::npos) << problem;
  EXPECT_EQ(problem.find("could not be read"), std::string::npos) << problem;
#endif  // _WIN32
}

TEST(ShipFile, AWriteProtectedFileFliesButIsNeverReplaced) {
  TempDirectory dir;
  std::vector<std::string> lines = kFreshShip;
  lines[ShipFileIndex("Money")] = "321";
  dir.Write("Guarded.shp", Lines(lines));
  const fs::path guarded = dir.Path() / "Guarded.shp";
  fs::permissions(guarded, fs::perms::owner_read | fs::perms::group_read);
  Harness t = ShipGame(dir.Path());
  t.game.ShipName = "Guarded";
  const std::string warning = LoadShip(t.game);
  EXPECT_NE(warning.find("Guarded.shp' is write-protected"), std::string::npos) << warning;
  EXPECT_EQ(t.game.Money, 321);  // the ship flies with what the file holds
  t.game.Money = 9999;
  const std::string problem = SaveShip(t.game);
  EXPECT_NE(problem.find("not saved"), std::string::npos) << problem;
  EXPECT_NE(problem.find("Guarded.shp' is write-protected"), std::string::npos) << problem;
  EXPECT_EQ(dir.Read("Guarded.shp"), Lines(lines));
  // (Windows has one read-only flag, shown as read-only for all.)
  const fs::perms readonly =
      kThisSystem == SystemRules::Windows
          ? fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read
          : fs::perms::owner_read | fs::perms::group_read;
  EXPECT_EQ(fs::status(guarded).permissions() & fs::perms::all, readonly);

  // Protected while the game ran: kept all the same.
  Harness later = ShipGame(dir.Path());
  later.game.ShipName = "Later";
  EXPECT_EQ(LoadShip(later.game), "");
  dir.Write("Later.shp", "mine");
  fs::permissions(dir.Path() / "Later.shp", fs::perms::owner_read);
  EXPECT_NE(SaveShip(later.game).find("write-protected"), std::string::npos);
  EXPECT_EQ(dir.Read("Later.shp"), "mine");

  // Protected under the older name (every '%' as %25): no new file takes its place.
  dir.Write("x%25y.shp", Lines(lines));
  fs::permissions(dir.Path() / "x%25y.shp", fs::perms::owner_read);
  Harness old = ShipGame(dir.Path());
  old.game.ShipName = "x%y";
  EXPECT_NE(LoadShip(old.game).find("x%25y.shp' is write-protected"), std::string::npos);
  EXPECT_EQ(old.game.Money, 321);
  EXPECT_NE(SaveShip(old.game).find("not saved"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.Path() / "x%y.shp"));
}

#ifndef _WIN32  // no symbolic links for a plain user on Windows
TEST(ShipFile, AShipFileThatIsALinkIsSavedThroughIt) {
  TempDirectory dir;
  fs::create_directory(dir.Path() / "store");
  std::vector<std::string> lines = kFreshShip;
  lines[ShipFileIndex("Money")] = "5";
  dir.Write("store/Target.shp", Lines(lines));
  fs::create_symlink("store/Target.shp", dir.Path() / "Link.shp");
  // A chain: an absolute link to a relative one, read against its own directory, to a file
  // that is not there yet.
  fs::create_symlink(dir.Path() / "store" / "hop", dir.Path() / "Chain.shp");
  fs::create_symlink("../final.shp", dir.Path() / "store" / "hop");
  fs::create_symlink("nowhere/x.shp", dir.Path() / "Lost.shp");

  const auto fly = [&dir](const char* name, std::int32_t expected, std::int32_t money) {
    Harness t = ShipGame(dir.Path());
    t.game.ShipName = name;
    EXPECT_EQ(LoadShip(t.game), "") << name;
    EXPECT_EQ(t.game.Money, expected) << name;
    t.game.Money = money;
    return SaveShip(t.game);
  };
  EXPECT_EQ(fly("Link", 5, 77), "");
  EXPECT_EQ(fly("Link", 77, 78), "");
  EXPECT_EQ(fs::read_symlink(dir.Path() / "Link.shp"), "store/Target.shp");
  EXPECT_NE(dir.Read("store/Target.shp").find("\r\n78\r\n1\r\n1.5\r\n"), std::string::npos);

  EXPECT_EQ(fly("Chain", 0, 12), "");
  EXPECT_EQ(fly("Chain", 12, 13), "");
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "Chain.shp"));
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "store" / "hop"));
  EXPECT_NE(dir.Read("final.shp").find("\r\n13\r\n"), std::string::npos);

  // A link into a directory that is not there: nothing saved, and said so.
  EXPECT_NE(fly("Lost", 0, 1).find("No such file or directory"), std::string::npos);
  EXPECT_EQ(Listing(dir.Path()),
            (std::vector<std::string>{"Chain.shp", "Link.shp", "Lost.shp", "final.shp", "store"}));
  EXPECT_EQ(Listing(dir.Path() / "store"), (std::vector<std::string>{"Target.shp", "hop"}));
}
#endif  // _WIN32

TEST(ShipFile, MoneyBeyondTheMostIsTheMostAndNeverWrapsRound) {
  TempDirectory dir;
  for (const auto& [text, money] : {std::pair{"2147483647", 2147483647},
                                    {"2147483648", 2147483647},
                                    {"4294967296", 2147483647},
                                    {"99999999999", 2147483647},
                                    {"99999999999999999999999999", 2147483647},
                                    {"-2147483649", 0},
                                    {"-99999999999", 0},
                                    {"123", 123}}) {
    std::vector<std::string> lines = kFreshShip;
    lines[ShipFileIndex("Money")] = text;
    lines[ShipFileIndex("Life.Range")] = "70000";  // the 16-bit fields keep their low bits
    dir.Write("MyShip.shp", Lines(lines));
    Harness t = ShipGame(dir.Path());
    LoadShip(t.game);
    EXPECT_EQ(t.game.Money, money) << text;
    EXPECT_EQ(t.game.Life.Range, 4464) << text;
  }
}

#ifndef _WIN32  // no FIFOs on Windows
// A FIFO of the ship file's name would wait for a writer, and then for every line.
TEST(ShipFile, AShipFileThatIsNoRegularFileIsRefusedAtOnce) {
  TempDirectory dir;
  const fs::path pipe = dir.Path() / "Pipe.shp";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
  // A writer holds it open with a whole ship in it, so nothing could wait even if it were read.
  const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  std::vector<std::string> lines = kFreshShip;
  lines[ShipFileIndex("Money")] = "55";
  const std::string text = Lines(lines);
  ASSERT_EQ(::write(writer, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  Harness t = ShipGame(dir.Path());
  t.game.ShipName = "Pipe";
  const std::string warning = LoadShip(t.game);
  const std::string problem = SaveShip(t.game);
  ::close(writer);
  EXPECT_NE(warning.find("Pipe.shp' cannot be opened (not a regular file)"), std::string::npos)
      << warning;
  EXPECT_EQ(t.game.Money, 0);
  EXPECT_NE(problem.find("(not a regular file)"), std::string::npos) << problem;
  EXPECT_TRUE(fs::is_fifo(pipe));
}
#endif  // _WIN32

TEST(ShipFile, AFileThatIsThereButCannotBeReadIsNeverSavedOver) {
  TempDirectory dir;
  // A directory of the file's name, holding something; a link that leads round in a circle.
  fs::create_directory(dir.Path() / "Dir.shp");
  dir.Write("Dir.shp/keep", "the player's things");
  std::vector<std::pair<std::string, std::string>> cases{{"Dir", "(not a regular file)"}};
  std::vector<std::string> listed{"Dir.shp"};
#ifndef _WIN32  // no symbolic links for a plain user on Windows
  fs::create_symlink("Loop.shp", dir.Path() / "Loop.shp");
  cases.emplace_back("Loop", "(Too many levels of symbolic links)");
  listed.push_back("Loop.shp");
#endif  // _WIN32
  // Each is reported with its own reason, at the start and at the end alike.
  for (const auto& [name, reason] : cases) {
    Harness t = ShipGame(dir.Path());
    t.game.ShipName = name;
    t.game.Money = 0;
    const std::string warning = LoadShip(t.game);
    EXPECT_NE(warning.find(name + ".shp"), std::string::npos) << warning;
    EXPECT_NE(warning.find(reason), std::string::npos) << warning;
    EXPECT_TRUE(t.game.ShipFileUnreadable) << name;
    EXPECT_EQ(t.game.Life.Max, 100.0f);  // the start equipment
    EXPECT_EQ(t.game.ActiveWeapon.Max, 2.0f);
    t.game.Money = 500;
    const std::string problem = SaveShip(t.game);
    EXPECT_NE(problem.find("not saved"), std::string::npos) << problem;
    EXPECT_NE(problem.find(name + ".shp"), std::string::npos) << problem;
    EXPECT_NE(problem.find(reason), std::string::npos) << problem;
  }
  EXPECT_EQ(dir.Read("Dir.shp/keep"), "the player's things");
  EXPECT_EQ(Listing(dir.Path()), listed);

#ifndef _WIN32  // no POSIX modes on Windows
  // A file without permission to read it (only where permissions apply: not for root).
  dir.Write("Locked.shp", Lines(kFreshShip));
  fs::permissions(dir.Path() / "Locked.shp", fs::perms::none);
  if (std::FILE* probe = std::fopen((dir.Path() / "Locked.shp").c_str(), "rb")) {
    std::fclose(probe);
  } else {
    Harness t = ShipGame(dir.Path());
    t.game.ShipName = "Locked";
    EXPECT_NE(LoadShip(t.game), "");
    EXPECT_NE(SaveShip(t.game), "");
  }
  fs::permissions(dir.Path() / "Locked.shp", fs::perms::owner_all);
  EXPECT_EQ(dir.Read("Locked.shp"), Lines(kFreshShip));
#endif  // _WIN32
}

TEST(ShipFile, ASaveThatCannotBeWrittenSaysSoAndNamesTheFile) {
  TempDirectory dir;
  Harness t = ShipGame(dir.Path() / "gone");
  t.game.ShipName = "Lost";
  const std::string problem = SaveShip(t.game);
  EXPECT_NE(problem.find("cannot save the ship to"), std::string::npos) << problem;
  EXPECT_NE(problem.find((dir.Path() / "gone" / "Lost.shp").string()), std::string::npos)
      << problem;
}

// Files that no one saved: they load, and the game then flies on them under the sanitizers.
TEST(ShipFile, GarbageFilesLoadAndFlyWithoutAFault) {
  std::string binary;
  std::uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1664525u + 1013904223u;
    binary += static_cast<char>(state >> 24);
  }
  const auto each = [](const std::string& line) {
    return Lines(std::vector<std::string>(kShipFileFields.size(), line));
  };
  const std::vector<std::pair<std::string, std::string>> files{
      {"binary", binary},
      {"infinite", each("1e999")},
      {"minus infinite", each("-1e999")},
      {"nan", each("nan")},
      {"huge integers", each("99999999999999999999")},
      {"tiny", each("1e-45")},
      {"mixed", Lines({"1e999", "-1e999", "99999999999999999999", "1e-45", "-0", "1e999", "1e999",
                       "-1e999", "-1e-45", "-99999999999", "0", "-1e999", "-1e999"})},
      {"empty", ""},
      {"one long line", std::string(kShipFileByteLimit, '7')},
      {"many lines", std::string(kShipFileByteLimit, '\n')},
      // Larger than any ship file: refused, never read nor saved over.
      {"ten megabytes", std::string(10'000'000, '7')},
      {"ten megabytes of lines", std::string(10'000'000, '\n')},
      {"one byte too many", std::string(kShipFileByteLimit + 1, '\n')},
  };
  // Thrust, fire every weapon, switch shield, shock and boost, dash, teleport home, turn.
  const char* script =
      "0 down Up Space\n5 down S B LeftControl\n7 up S B LeftControl\n20 down 2 Return\n"
      "22 up 2 Return\n40 down 3\n42 up 3\n60 down T\n170 up T\n170 down Left A\n"
      "250 down Down D\n";
  for (const auto& [what, bytes] : files) {
    TempDirectory dir;
    dir.Write("MyShip.shp", bytes);
    Harness t = ShipGame(dir.Path(), script);
    if (bytes.size() > kShipFileByteLimit) {
      EXPECT_NE(LoadShip(t.game).find("(File too large)"), std::string::npos) << what;
      EXPECT_NE(SaveShip(t.game).find("(File too large)"), std::string::npos) << what;
      EXPECT_EQ(dir.Read("MyShip.shp"), bytes) << what;
      continue;
    }
    EXPECT_EQ(LoadShip(t.game), "") << what;
    EXPECT_GE(t.game.Money, 0) << what;
    EXPECT_TRUE(t.game.Life.Max > 0) << what;
    EXPECT_EQ(t.RunFrames(300), LoopEnd::FrameLimit) << what;
    EXPECT_GE(t.game.Money, 0) << what;
    EXPECT_EQ(SaveShip(t.game), "") << what;
    EXPECT_EQ(dir.Read("MyShip.shp").size() < 2000, true) << what;
  }
}

// An energy beyond any float drained by a shock beyond any float: the energy runs out and the
// shock switches off, as for any other numbers.
TEST(ShipFile, NumbersTooLargeForAFloatLoadAsTheLargestFloat) {
  TempDirectory dir;
  std::vector<std::string> lines = kFreshShip;
  lines[ShipFileIndex("Energie.Value")] = "1e999";
  lines[ShipFileIndex("Energie.Max")] = "1e999";
  lines[ShipFileIndex("Energie.Refreshrate")] = "-1e999";
  lines[ShipFileIndex("Shock.Refreshrate")] = "-1e999";
  dir.Write("MyShip.shp", Lines(lines));
  Harness t = ShipGame(dir.Path(), "0 down S\n1 up S\n");
  LoadShip(t.game);
  EXPECT_EQ(t.game.Energie.Max, std::numeric_limits<float>::max());
  EXPECT_EQ(t.game.Shock.Refreshrate, -std::numeric_limits<float>::max());
  t.RunFrames(5);
  EXPECT_EQ(t.game.Energie.Value, 0.0f);
  EXPECT_EQ(t.game.Shock.Active, 0);
}

TEST(AtomicWrite, EachFailingStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
  TempDirectory dir;
  const fs::path path = dir.Path() / "ship.shp";
  const std::string fresh(100'000, 'n');
  for (AtomicWriteStep step : {AtomicWriteStep::Open, AtomicWriteStep::Write, AtomicWriteStep::Sync,
                               AtomicWriteStep::Close, AtomicWriteStep::Rename}) {
    const int n = static_cast<int>(step);
    dir.Write("ship.shp", "old ship");
    std::string why;
    EXPECT_FALSE(WriteFileAtomically(path, fresh, why, step)) << n;
    EXPECT_FALSE(why.empty()) << n;
    EXPECT_EQ(dir.Read("ship.shp"), "old ship") << n;
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"ship.shp"}) << n;
    // Without an old file, a failure makes none.
    fs::remove(path);
    EXPECT_FALSE(WriteFileAtomically(path, fresh, why, step)) << n;
    EXPECT_TRUE(Listing(dir.Path()).empty()) << n;
  }
  dir.Write("ship.shp", std::string(300'000, 'o'));
  std::string why;
  EXPECT_TRUE(WriteFileAtomically(path, fresh, why)) << why;
  EXPECT_EQ(dir.Read("ship.shp"), fresh);
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"ship.shp"});
#ifndef _WIN32  // Windows has no POSIX modes to keep
  // The replacement keeps the file's permissions.
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(WriteFileAtomically(path, "x", why)) << why;
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
#endif  // _WIN32
  // A directory that is not there: nothing made, and a reason.
  EXPECT_FALSE(WriteFileAtomically(dir.Path() / "none" / "f", "x", why));
  EXPECT_NE(why.find("No such file or directory"), std::string::npos) << why;
}

#ifndef _WIN32  // fork and flock: the Windows file of a save that died is tested by hand
// The temporary file of a save that was killed is removed by the next save in its directory;
// that of a save still running (it holds the file's lock, whatever process id its name
// holds: one of another PID namespace may be any), and every other file, stays.
TEST(AtomicWrite, TemporaryFilesOfSavesThatDiedAreRemovedByTheNextSave) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);  // from here on, no process has that id
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getpid());

  TempDirectory dir;
  const std::string running = ".starvane-" + dead + "-3.tmp";
  std::vector<std::string> kept{running, ".starvane-x-0.tmp", ".starvane--0.tmp",
                                ".starvane-" + dead + "-.tmp", "notes.tmp"};
  for (const std::string& name : kept) dir.Write(name, "keep");
  const int held = ::open((dir.Path() / running).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  // Left by saves that died a while ago; one written a moment ago may be an older game's
  // save that holds no lock, and stays.
  for (const std::string& stale :
       {".starvane-" + dead + "-0.tmp", ".starvane-" + alive + "-17.tmp"}) {
    dir.Write(stale, "half a ship");
    fs::last_write_time(dir.Path() / stale,
                        fs::file_time_type::clock::now() - std::chrono::minutes(2));
  }
  dir.Write(".starvane-" + dead + "-9.tmp", "a save going on");
  kept.push_back(".starvane-" + dead + "-9.tmp");
  std::string why;
  ASSERT_TRUE(WriteFileAtomically(dir.Path() / "ship.shp", "ship", why)) << why;
  ::close(held);
  std::vector<std::string> expected = kept;
  expected.push_back("ship.shp");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Listing(dir.Path()), expected);
}
#endif  // _WIN32

TEST(FilesDirectory, NextToTheProgramUnlessItCannotBeWrittenThenTheDataDirectory) {
  TempDirectory dir;
  const fs::path program = dir.Path() / "bin";
  fs::create_directory(program);
  const auto only = [&program](const fs::path& writable_but) {
    return
        [&program, writable_but](const fs::path& p) { return p != program && p != writable_but; };
  };
  const auto environment = [](const char* xdg, const char* home) {
    return [xdg, home](const char* name) -> const char* {
      return std::string(name) == "XDG_DATA_HOME" ? xdg
             : std::string(name) == "HOME"        ? home
                                                  : nullptr;
    };
  };
  const std::string xdg = (dir.Path() / "xdg").string();
  const std::string home = (dir.Path() / "home").string();

  auto choice = DefaultFilesDirectory(program, environment(xdg.c_str(), home.c_str()),
                                      [](const fs::path&) { return true; });
  EXPECT_EQ(choice.directory, program);
  EXPECT_EQ(choice.notice, "");

  choice = DefaultFilesDirectory(program, environment(xdg.c_str(), home.c_str()), only({}),
                                 SystemRules::Posix);
  EXPECT_EQ(choice.directory, fs::path(xdg) / "starvane");
  EXPECT_TRUE(fs::is_directory(choice.directory));
  EXPECT_NE(choice.notice.find(choice.directory.string()), std::string::npos) << choice.notice;
  EXPECT_NE(choice.notice.find(program.string()), std::string::npos) << choice.notice;

  // A relative XDG_DATA_HOME does not count; HOME's .local/share does.
  for (const char* relative : {"relative/data", static_cast<const char*>(nullptr)}) {
    choice = DefaultFilesDirectory(program, environment(relative, home.c_str()), only({}),
                                   SystemRules::Posix);
    EXPECT_EQ(choice.directory, fs::path(home) / ".local" / "share" / "starvane");
    EXPECT_TRUE(fs::is_directory(choice.directory));
  }

  // Nowhere to go: the program's directory all the same, and the player is told.
  choice =
      DefaultFilesDirectory(program, environment(nullptr, nullptr), only({}), SystemRules::Posix);
  EXPECT_EQ(choice.directory, program);
  EXPECT_NE(choice.notice.find("cannot be saved"), std::string::npos);
  dir.Write("file", "");
  const std::string under_a_file = (dir.Path() / "file").string();
  choice = DefaultFilesDirectory(program, environment(under_a_file.c_str(), nullptr), only({}),
                                 SystemRules::Posix);
  EXPECT_EQ(choice.directory, program);
  EXPECT_NE(choice.notice.find("cannot be saved"), std::string::npos);
  choice = DefaultFilesDirectory(program, environment(xdg.c_str(), nullptr),
                                 only(fs::path(xdg) / "starvane"), SystemRules::Posix);
  EXPECT_EQ(choice.directory, program);
}

}  // namespace
}  // namespace starvane

namespace starvane {
namespace {

// The ship a kept recording holds as bytes flies as a file of those bytes flies: every line end,
// short files and zero bytes alike. LoadShip hands over the very bytes it read; no bytes is a new
// ship, and a replay's ship is never saved.
TEST(ShipFile, AShipFromBytesFliesAsAFileOfThoseBytes) {
  const std::string fields = Lines(kFreshShip);
  for (const std::string& bytes :
       {std::string("250\r\n7\n0.5\r9\r\n\r\n"),
        std::string("1\0"
                    "2\r\r\n3",
                    7),
        std::string("5000\n300"), fields.substr(0, fields.size() - 2) + "\r",
        "\n\n" + fields + "extra\r\n"}) {
    TempDirectory dir;
    Harness from_file = ShipGame(dir.Path());
    from_file.game.ShipName = "Bytes";
    dir.Write("Bytes.shp", bytes);
    EXPECT_EQ(LoadShip(from_file.game), "");
    Harness read_whole = ShipGame(dir.Path());
    read_whole.game.ShipName = "Bytes";
    std::optional<std::string> read;
    EXPECT_EQ(LoadShip(read_whole.game, &read), "");
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(ShipFileText(read_whole.game), ShipFileText(from_file.game));
    Harness from_bytes = ShipGame(dir.Path());
    LoadShipFromBytes(from_bytes.game, bytes);
    EXPECT_EQ(ShipFileText(from_bytes.game), ShipFileText(from_file.game)) << bytes;
    EXPECT_EQ(from_bytes.game.ActiveWeapon.Max, from_file.game.ActiveWeapon.Max);
    EXPECT_FALSE(from_bytes.game.ShipIsNew);
    EXPECT_NE(SaveShip(from_bytes.game), "");
  }
  TempDirectory dir;
  Harness none = ShipGame(dir.Path());
  LoadShipFromBytes(none.game, std::nullopt);
  EXPECT_TRUE(none.game.ShipIsNew);
  EXPECT_EQ(ShipFileText(none.game), fields);
  EXPECT_TRUE(Listing(dir.Path()).empty());
}

}  // namespace
}  // namespace starvane
