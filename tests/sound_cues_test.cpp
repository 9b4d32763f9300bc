// What the game's rules tell the sound: every event worth hearing gives its cue, at its place,
// only while a sound listens, and the game plays the same whether one listens or not.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/state_summary.hpp"
#include "base/rounding.hpp"
#include "combat/shock_and_destroy.hpp"
#include "combat/shot_pass.hpp"
#include "life/controls.hpp"
#include "life/ship_rebuild.hpp"
#include "media/keys.hpp"
#include "replay/input_events.hpp"
#include "sound/held_sounds.hpp"
#include "tests/support/harness.hpp"
#include "world/adders.hpp"
#include "world/create_body.hpp"
#include "world/kinds.hpp"
#include "world/sound_cues.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;

std::vector<SoundCue> Taken(Game& game) {
  std::vector<SoundCue> cues;
  game.Sounds.TakeInto(cues);
  return cues;
}

std::multiset<SoundCueKind> KindsOf(const std::vector<SoundCue>& cues) {
  std::multiset<SoundCueKind> kinds;
  for (const SoundCue& cue : cues) kinds.insert(cue.kind);
  return kinds;
}

std::string GoldenScript(const std::string& name) {
  std::ifstream file(std::string(STARVANE_SOURCE_DIR) + "/tests/golden/" + name + "/script.txt");
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The fight of a golden replay, played with a sound listening or not: its cues and its end.
struct Fight {
  Fight(const std::string& name, std::uint64_t seed, float difficulty, bool listening)
      : script(GoldenScript(name)),
        t({.script = script,
           .seed = seed,
           .difficulty = difficulty,
           .world = World::Generated,
           .arm = true}) {
    if (listening) t.game.Sounds.Listen();
    t.RunFrames(2000);
    kinds = KindsOf(Taken(t.game));
  }
  std::string script;
  Harness t;
  std::multiset<SoundCueKind> kinds;
};

TEST(SoundCues, AFightIsHeardWholeAndPlaysTheSameUnheard) {
  Fight heard("fight_shock_death", 11, 1, true);
  for (const SoundCueKind kind :
       {SoundCueKind::Weapon3Shot, SoundCueKind::EnemyShot, SoundCueKind::BodyHit,
        SoundCueKind::ShipHit, SoundCueKind::CraftBlast, SoundCueKind::FragmentBlast,
        SoundCueKind::Reward, SoundCueKind::ShockOn, SoundCueKind::ShockStrike,
        SoundCueKind::ThrustHeld, SoundCueKind::ShockRunning, SoundCueKind::Death,
        SoundCueKind::Respawn}) {
    EXPECT_GT(heard.kinds.count(kind), 0u) << "cue " << static_cast<int>(kind);
  }
  EXPECT_EQ(heard.kinds.count(SoundCueKind::Death), 1u);
  EXPECT_EQ(heard.kinds.count(SoundCueKind::ShieldHit), 0u) << "the shield was never on";

  Fight unheard("crazy_shield", 5, 150, false);
  EXPECT_TRUE(unheard.kinds.empty()) << "no cue is gathered while no sound listens";
  Fight shielded("crazy_shield", 5, 150, true);
  for (const SoundCueKind kind :
       {SoundCueKind::Weapon2Shot, SoundCueKind::ShieldBump, SoundCueKind::Hull,
        SoundCueKind::BoostOn, SoundCueKind::BoostRunning, SoundCueKind::Death}) {
    EXPECT_GT(shielded.kinds.count(kind), 0u) << "cue " << static_cast<int>(kind);
  }
  // The same game as unheard, to the last body.
  EXPECT_EQ(StateSummary(shielded.t.game, shielded.t.media.FramesPresented()),
            StateSummary(unheard.t.game, unheard.t.media.FramesPresented()));
}

TEST(SoundCues, AShotOnTheShipIsHeardOnItsShieldWhenItIsOnAndOnABodyAsAKnock) {
  Harness t({.world = World::Generated, .arm = true});
  t.game.Sounds.Listen();
  t.RunFrames(1);
  Body far_body = t.game.Bodies.At(kHomePlanetIndex);
  for (const std::int16_t shield : {kKindNone, kKindShield}) {
    t.game.ShieldKind = shield;
    Taken(t.game);
    AddShot(t.game, RoundToInt(t.game.ShipX), RoundToInt(t.game.ShipY), 0, 0, 7, ShotStyle::Streak,
            255, 0, 0);
    ShotPass(t.game, far_body);
    const std::vector<SoundCue> cues = Taken(t.game);
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].kind, shield == kKindNone ? SoundCueKind::ShipHit : SoundCueKind::ShieldHit);
    EXPECT_EQ(cues[0].size, 7.0f);
  }
  // A shot on a body away from the ship.
  Body body = far_body;
  const float x = t.game.ShipX + 300;
  const float y = t.game.ShipY;
  body.Points[0] = Point{x, y};
  body.Radius = 20;
  body.Kind = kKindRandom;
  AddShot(t.game, RoundToInt(x), RoundToInt(y), 0, 0, 3, ShotStyle::Streak, 255, 0, 0);
  ShotPass(t.game, body);
  EXPECT_EQ(KindsOf(Taken(t.game)), std::multiset<SoundCueKind>{SoundCueKind::BodyHit});
}

TEST(SoundCues, EachWeaponIsCuedAtTheMuzzleAndTheJumpWhenTheChargeIsFull) {
  Harness t({.held_keys = true, .world = World::Generated, .arm = true});
  t.game.Sounds.Listen();
  t.RunFrames(1);
  Taken(t.game);
  const Point muzzle = t.game.Bodies.At(kTurretIndex).Points[2];
  t.Hold(kKeySpace);
  for (const std::int16_t weapon : {1, 2, 3}) {
    t.game.SelectedWeapon = weapon;
    t.game.ActiveWeapon.Value = t.game.ActiveWeapon.Max;
    t.Controls();
    const std::vector<SoundCue> cues = Taken(t.game);
    ASSERT_EQ(cues.size(), 1u) << "weapon " << weapon;
    EXPECT_EQ(static_cast<int>(cues[0].kind),
              static_cast<int>(SoundCueKind::Weapon1Shot) + weapon - 1);
    EXPECT_TRUE(cues[0].placed);
    EXPECT_NEAR(cues[0].x, muzzle.X, 0.5f);
    EXPECT_NEAR(cues[0].y, muzzle.Y, 0.5f);
  }
  t.Hold(kKeySpace, false);

  // T held: the charge is heard rising, and the jump when it is full.
  t.Hold(kKeyT);
  t.game.TeleportCharge = 50;
  t.Controls();
  std::vector<SoundCue> cues = Taken(t.game);
  ASSERT_EQ(cues.size(), 1u);
  EXPECT_EQ(cues[0].kind, SoundCueKind::TeleportCharge);
  EXPECT_EQ(cues[0].size, 52.0f);
  // The frame that spends the last energy still charges, and is heard.
  t.game.Energie.Value = 1.5f;
  t.Controls();
  cues = Taken(t.game);
  ASSERT_EQ(cues.size(), 1u);
  EXPECT_EQ(cues[0].size, 54.0f);
  t.game.Energie.Value = 300;
  t.game.TeleportCharge = 98;
  t.Controls();
  EXPECT_EQ(KindsOf(Taken(t.game)), std::multiset<SoundCueKind>{SoundCueKind::Jump});
}

TEST(SoundCues, ABlastIsCuedByWhatWasDestroyedAndARewardOnlyWhenOneIsPaid) {
  Harness t({.difficulty = 1, .world = World::Generated});
  t.game.Sounds.Listen();
  const struct {
    const char* kind;
    SoundCueKind blast;
    bool paid;
  } cases[] = {{"randombig", SoundCueKind::BigRockBlast, true},
               {"random", SoundCueKind::RockBlast, true},
               {"randomlittle", SoundCueKind::LittleRockBlast, true},
               {"enemie2", SoundCueKind::CraftBlast, true},
               {"glimmerhex", SoundCueKind::GlimmerhexBlast, true},
               {"100", SoundCueKind::FragmentBlast, false}};
  for (const auto& one : cases) {
    t.game.Bodies.SelectElement(t.game.Bodies.CountList() - 1);
    CreateBody(t.game, 1234, -567, 0, 0, 0, one.kind, 100, 100, 100);
    t.game.Bodies.Current().Life = 0;
    if (std::string(one.kind) == "100") t.game.Bodies.Current().Kind = kKindFragment;
    Taken(t.game);
    ShockAndDestroy(t.game);
    const std::vector<SoundCue> cues = Taken(t.game);
    ASSERT_FALSE(cues.empty()) << one.kind;
    EXPECT_EQ(cues[0].kind, one.blast) << one.kind;
    EXPECT_EQ(cues[0].x, 1234.0f);
    EXPECT_EQ(cues[0].y, -567.0f);
    const auto rewards = KindsOf(cues).count(SoundCueKind::Reward);
    EXPECT_EQ(rewards, one.paid ? 1u : 0u) << one.kind;
    // Rebuilt after the blasts of the world's own bodies with no life: only ours was cued.
    EXPECT_EQ(cues.size(), one.paid ? 2u : 1u) << one.kind;
  }
}

TEST(SoundCues, TheStatsPageChimesForAPurchaseAndBuzzesForAClickItCannotPay) {
  for (const std::int32_t money : {99, 100}) {
    // The pointer on the box of the life's maximum (price 100), a click, then Escape.
    const std::vector<InputEvent> events = {{1, InputEvent::Type::MouseMove, {}, 156, 122},
                                            {2, InputEvent::Type::ButtonPress, {}, 0, 0, 1},
                                            {3, InputEvent::Type::ButtonRelease, {}, 0, 0, 1},
                                            {4, InputEvent::Type::KeysDown, {kKeyEscape}},
                                            {5, InputEvent::Type::KeysUp, {kKeyEscape}}};
    Harness t({.input = std::make_unique<ScriptedInput>(events, std::nullopt),
               .frame_limit = 50,
               .world = World::Empty});
    t.game.Bodies.AddElement();
    t.game.HomePlanetOnScreen = 1;
    t.game.Money = money;
    t.game.Sounds.Listen();
    t.OpenStats();
    EXPECT_EQ(
        KindsOf(Taken(t.game)),
        std::multiset<SoundCueKind>{money < 100 ? SoundCueKind::Refused : SoundCueKind::Purchase})
        << "with " << money;
  }
}

}  // namespace
}  // namespace starvane
