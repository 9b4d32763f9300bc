// One ship, one game: the lock a game holds on its ship keeps every other game off it, and goes
// with the game however the game ends.

#include "files/ship_lock.hpp"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/system_rules.hpp"
#include "media/media.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

using starvane::testing::TempDirectory;

TEST(ShipLock, TwoGamesOnOneDirectoryNeverHoldTheSameShip) {
  TempDirectory dir;
  Media first(dir.Path());
  Media second(dir.Path());
  std::string why;
  EXPECT_TRUE(first.LockShip("Nova.shp", why));
  EXPECT_EQ(why, "");
  EXPECT_FALSE(second.LockShip("Nova.shp", why));
  EXPECT_NE(why, "");
  EXPECT_TRUE(second.LockShip("Vega.shp", why));
  EXPECT_TRUE(first.LockShip("Nova.shp", why));  // held already
  EXPECT_FALSE(first.LockShip("Vega.shp", why));
  // Taking another ship lets the first go; a game that ends lets its ship go.
  EXPECT_TRUE(first.LockShip("Orion.shp", why));
  EXPECT_TRUE(second.LockShip("Nova.shp", why));
  {
    Media third(dir.Path());
    EXPECT_FALSE(third.LockShip("Orion.shp", why));
  }
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / kShipLockFileName));
}

// Windows folds case: "Nova" and "NOVA" are one file there, so one ship, and a second game on
// it is refused as on the same name. Where case tells files apart, they are two ships.
TEST(ShipLock, NamesThatDifferInCaseAloneAreOneShipWhereTheSystemFoldsCase) {
  TempDirectory dir;
  const bool folds = kThisSystem == SystemRules::Windows;
  for (const auto& [name, other] :
       {std::pair{"Nova.shp", "NOVA.shp"}, std::pair{"N\xC3\xB6va.shp", "n\xC3\x96VA.shp"}}) {
    Media first(dir.Path());
    Media second(dir.Path());
    std::string why;
    ASSERT_TRUE(first.LockShip(name, why)) << why;
    EXPECT_EQ(second.LockShip(other, why), !folds) << other;
    EXPECT_EQ(why, folds ? kShipInAnotherGame : "");
  }
}

#ifndef _WIN32  // no symbolic links for a plain user on Windows
// The lock is on the file a save writes: a link to the ship (a chain of them, into another
// folder, to a ship not saved yet) and a hard link of its file are that ship.
TEST(ShipLock, AShipNamedThroughALinkIsThatShip) {
  TempDirectory dir;
  const std::filesystem::path one = dir.Path() / "d1", two = dir.Path() / "d2";
  std::filesystem::create_directory(one);
  std::filesystem::create_directory(two);
  std::filesystem::create_symlink("Veteran.shp", one / "Alias.shp");
  std::filesystem::create_symlink(two / "Veteran.shp", one / "Veteran.shp");
  Media a(one), b(one), c(two);
  std::string why;
  EXPECT_TRUE(a.LockShip("Alias.shp", why));
  EXPECT_FALSE(b.LockShip("Veteran.shp", why));
  EXPECT_FALSE(c.LockShip("Veteran.shp", why));
  EXPECT_EQ(why, kShipInAnotherGame);
  TempDirectory(two).Write("Old.shp", "ship");
  std::filesystem::create_hard_link(two / "Old.shp", one / "Hard.shp");
  EXPECT_TRUE(a.LockShip("Hard.shp", why));
  EXPECT_FALSE(c.LockShip("Old.shp", why));
  EXPECT_TRUE(b.LockShip("Veteran.shp", why));  // let go by a
}
#endif  // _WIN32

// Games could not see each other through a link, a folder or a FIFO at the lock file's path:
// every game is refused, and told why.
TEST(ShipLock, SomethingElseAtTheLockFilesPathRefusesTheShip) {
  TempDirectory dir;
  const std::filesystem::path& d = dir.Path();
  std::filesystem::create_directories(d / "folder" / kShipLockFileName);
  std::vector<std::string> kinds{"folder"};
#ifndef _WIN32  // no symbolic links for a plain user, and no FIFOs, on Windows
  std::filesystem::create_directories(d / "link");
  std::filesystem::create_symlink(d / "elsewhere", d / "link" / kShipLockFileName);
  std::filesystem::create_directories(d / "fifo");
  ASSERT_EQ(mkfifo((d / "fifo" / kShipLockFileName).c_str(), 0644), 0);
  kinds.insert(kinds.end(), {"link", "fifo"});
#endif
  for (const std::string& kind : kinds) {
    Media game(d / kind);
    std::string why;
    EXPECT_FALSE(game.LockShip("Nova.shp", why)) << kind;
    EXPECT_NE(why.find("not a lock file (remove it)"), std::string::npos) << why;
  }
}

// A display that keeps ships across its pages (the browser's), answering as told.
class PagesDisplay final : public HeadlessDisplay {
 public:
  ShipHold HoldShip(std::string_view key) override {
    asked = std::string(key);
    return answer;
  }
  ShipHold answer = ShipHold::Held;
  std::string asked;
};

TEST(ShipLock, WhereTheDisplayKeepsShipsAcrossPagesItsAnswerStands) {
  TempDirectory dir;
  auto display = std::make_unique<PagesDisplay>();
  PagesDisplay& pages = *display;
  Media media(dir.Path() / "none", std::move(display));  // no lock file can be made there
  std::string why;
  pages.answer = Display::ShipHold::Refused;
  EXPECT_FALSE(media.LockShip("Nova.shp", why));
  EXPECT_NE(why, "");
  pages.answer = Display::ShipHold::Held;
  EXPECT_TRUE(media.LockShip("Nova.shp", why));
  EXPECT_EQ(why, "");  // the lock file that could not be made is beside the point
  EXPECT_EQ(pages.asked, (dir.Path() / "none" / "Nova.shp").string());
}

#ifndef _WIN32  // fork and SIGKILL
TEST(ShipLock, AGameKilledOutrightLeavesItsShipFree) {
  TempDirectory dir;
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    ShipLock lock(dir.Path());
    std::string why;
    const char taken = lock.Lock("Nova.shp", why) && why.empty() ? 'y' : 'n';
    if (write(ready[1], &taken, 1) != 1) _exit(1);
    for (;;) pause();
  }
  char taken = 0;
  ASSERT_EQ(read(ready[0], &taken, 1), 1);
  EXPECT_EQ(taken, 'y');
  ShipLock lock(dir.Path());
  std::string why;
  EXPECT_FALSE(lock.Lock("Nova.shp", why));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_TRUE(lock.Lock("Nova.shp", why));
  EXPECT_EQ(why, "");
  close(ready[0]);
  close(ready[1]);
}
#endif  // _WIN32

TEST(ShipLock, WithoutALockFileTheShipIsFlownUnlocked) {
  TempDirectory dir;
  ShipLock lock(dir.Path() / "missing");
  std::string why;
  EXPECT_TRUE(lock.Lock("Nova.shp", why));
  EXPECT_NE(why.find("without a lock"), std::string::npos) << why;
}

}  // namespace
}  // namespace starvane
