#pragma once
// What the game's rules tell the sound of what happened: a small record per event (what, where
// in the world, how big), gathered during a frame and taken by the sound at the next presented
// frame. No rule ever reads a cue back and no random number is drawn for one, so a game plays
// the same whether its sound is heard, written to a file or nowhere at all.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace starvane {

enum class SoundCueKind : std::uint8_t {
  // Shots, by who fired them (the player's weapons: world/weapons.hpp).
  Weapon1Shot,
  Weapon2Shot,
  Weapon3Shot,
  EnemyShot,  // size: the enemy's kind code
  // Hits: a shot on a body, a shot on the ship without and with its shield (size: damage).
  BodyHit,
  ShipHit,
  ShieldHit,
  // A body destroyed, by what it was.
  BigRockBlast,
  RockBlast,
  LittleRockBlast,
  FragmentBlast,
  CraftBlast,
  GlimmerhexBlast,
  Reward,  // size: the money paid
  // Switched on by the player.
  BoostOn,
  ShockOn,
  // Held from frame to frame: cued every frame they last.
  ThrustHeld,
  BoostRunning,
  ShockRunning,
  ShockStrike,     // a bolt of the shock on a body
  Drain,           // the fourth enemy kind draining the ship
  TeleportCharge,  // size: the charge, 0 to 100, while it rises
  // The ship's life.
  Jump,
  Death,
  Respawn,
  // Contacts: a body bumping the ship without and with its shield, the planet's hull (size: the
  // ship's speed).
  Bump,
  ShieldBump,
  Hull,
  // The STATS page: a purchase, and a click that cannot be paid.
  Purchase,
  Refused,
  // Not a cue: the number of kinds, which sizes every table of them. New kinds go before it.
  Count,
};
constexpr int kSoundCueKinds = static_cast<int>(SoundCueKind::Count);

struct SoundCue {
  SoundCueKind kind = SoundCueKind::BodyHit;
  bool placed = false;  // false: heard in the middle, at full strength (the STATS page, rewards)
  float x = 0;          // where in the world, when placed
  float y = 0;
  float size = 1;
};

// The cues of the frames since the sound last took them. Nobody listens until a sound is
// installed: until then cues are dropped at once, so a game without sound gathers nothing.
class SoundCues {
 public:
  void Listen() { listening_ = true; }
  void Add(SoundCueKind kind, float x, float y, float size = 1) {
    Tally(kind);
    if (listening_) cues_.push_back({kind, true, x, y, size});
  }
  void AddUnplaced(SoundCueKind kind, float size = 1) {
    Tally(kind);
    if (listening_) cues_.push_back({kind, false, 0, 0, size});
  }
  // How many cues of the kind were given since the game began, listened to or not: the
  // presentation's notices tell of an event (the ship destroyed) by its count going up.
  std::int64_t TimesGiven(SoundCueKind kind) const { return told_[Slot(kind)]; }
  // Hands the cues gathered so far, in the order they came, to `taken` (whose old contents are
  // dropped); the list starts empty again, keeping the room `taken` had.
  void TakeInto(std::vector<SoundCue>& taken) {
    taken.clear();
    taken.swap(cues_);
  }

 private:
  // A kind's place in the tally; a value beyond the kinds (a cast from a stray number) stays in it.
  static std::size_t Slot(SoundCueKind kind) {
    return static_cast<std::size_t>(kind) % kSoundCueKinds;
  }
  void Tally(SoundCueKind kind) {
    std::int64_t& count = told_[Slot(kind)];
    if (count < std::numeric_limits<std::int64_t>::max()) ++count;
  }

  bool listening_ = false;
  std::vector<SoundCue> cues_;
  std::array<std::int64_t, kSoundCueKinds> told_{};
};

}  // namespace starvane
