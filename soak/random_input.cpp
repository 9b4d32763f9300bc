#include "soak/random_input.hpp"

#include <array>
#include <cstddef>

#include "media/keys.hpp"
#include "world/weapons.hpp"

namespace starvane::soak {
namespace {

// The keys of flight and fight, every weapon's among them. C (the STATS page) is pressed on a
// plan of its own.
constexpr std::array<int, 5> kKeysBeforeWeapons{kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeySpace};
constexpr std::array<int, 7> kKeysAfterWeapons{kKeyA, kKeyD,      kKeyS,          kKeyB,
                                               kKeyT, kKeyReturn, kKeyLeftControl};

constexpr auto GameKeys() {
  std::array<int, kKeysBeforeWeapons.size() + kWeapons.size() + kKeysAfterWeapons.size()> keys{};
  std::size_t next = 0;
  for (const int key : kKeysBeforeWeapons) keys[next++] = key;
  for (const Weapon& weapon : kWeapons) keys[next++] = weapon.key;
  for (const int key : kKeysAfterWeapons) keys[next++] = key;
  return keys;
}
constexpr auto kGameKeys = GameKeys();

}  // namespace

std::uint64_t SoakRandom::Next() {
  state_ += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void RandomInput::AdvanceTo(std::int64_t frames_presented) {
  if (frames_presented == frame_) return;
  frame_ = frames_presented;
  for (std::int32_t& frames : held_for_) {
    if (frames > 0) --frames;
  }
  // About one new press every eight frames: a tap, a hold of up to two seconds, or a long one
  // (the teleport charges for about two seconds).
  if (random_.Below(8) == 0) {
    int key = kGameKeys[random_.Below(kGameKeys.size())];
    if (random_.Below(50) == 0) key = static_cast<int>(random_.Below(kKeyCount));
    if (key == kKeyF12) key = kKeySpace;
    const std::uint32_t kind = random_.Below(10);
    held_for_[static_cast<std::size_t>(key)] =
        static_cast<std::int32_t>(kind < 6   ? 1 + random_.Below(3)
                                  : kind < 9 ? random_.Below(100)
                                             : 100 + random_.Below(200));
  }
  // The STATS page about every 16 seconds, for up to 6 seconds of shopping; it is closed with
  // C or, now and then, with Escape (which there closes only the page).
  if (!in_stats_page_ && random_.Below(800) == 0) {
    held_for_[kKeyC] = 2;
    in_stats_page_ = true;
    leave_stats_page_at_ = frame_ + 30 + random_.Below(300);
  } else if (in_stats_page_ && frame_ >= leave_stats_page_at_) {
    held_for_[random_.Below(4) == 0 ? kKeyEscape : kKeyC] = 2;
    in_stats_page_ = false;
  } else if (!in_stats_page_ && random_.Below(20000) == 0) {
    held_for_[kKeyEscape] = 2;  // the game ends; the soak starts the next one
  }

  mouse_.dx = static_cast<std::int32_t>(random_.Below(41)) - 20;
  mouse_.dy = static_cast<std::int32_t>(random_.Below(41)) - 20;
  if (random_.Below(60) == 0) {
    mouse_.dx = static_cast<std::int32_t>(random_.Below(4001)) - 2000;  // a fling to an edge
  }
  if (random_.Below(6) == 0) mouse_.buttons[0] = !mouse_.buttons[0];
  if (random_.Below(40) == 0) mouse_.buttons[1 + random_.Below(2)] ^= true;
  mouse_.wheel = random_.Below(30) == 0 ? static_cast<std::int32_t>(random_.Below(7)) - 3 : 0;
  mouse_taken_ = false;
}

bool RandomInput::CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) {
  AdvanceTo(frames_presented);
  for (std::size_t key = 0; key < keys.size(); ++key) keys[key] = held_for_[key] > 0 ? 1 : 0;
  return true;
}

MouseInput RandomInput::CaptureMouse(std::int64_t frames_presented) {
  AdvanceTo(frames_presented);
  MouseInput given = mouse_;
  if (mouse_taken_) {
    given.dx = 0;
    given.dy = 0;
    given.wheel = 0;
  }
  mouse_taken_ = true;
  return given;
}

}  // namespace starvane::soak
