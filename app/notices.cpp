#include "app/notices.hpp"

#include <algorithm>
#include <cstddef>

#include "base/rounding.hpp"
#include "media/keys.hpp"

namespace starvane {
namespace {

// Long enough to read a line, short enough not to stand over the next one: 2.5 s at 50 frames.
constexpr int kNoticeFrames = 125;

// A count with its thousands apart: 1,000.
std::string Grouped(std::uint64_t count) {
  std::string digits = std::to_string(count);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

std::string Switched(const char* what, bool on) {
  return std::string(what) + (on ? " on" : " off");
}

}  // namespace

NoticeView ViewForNotices(const Game& game, bool muted) {
  NoticeView view;
  view.deaths = game.Sounds.TimesGiven(SoundCueKind::Death);
  view.money = game.Money;
  view.shield = game.ShieldKind != 0;
  view.shock = game.Shock.Active == 1;
  view.boost = game.Boost.Active == 1;
  view.muted = muted;
  view.stats_asked = game.StatsOpen == 1;
  view.at_home = game.HomePlanetOnScreen == 1;
  // The teleport charges only while there is energy: held without, it cannot jump.
  view.teleport_starved = game.media.KeyboardPushed(kKeyT) != 0 && !(game.Energie.Value > 0);
  return view;
}

std::string NoticeFor(const NoticeView& before, const NoticeView& now, float difficulty) {
  if (now.deaths > before.deaths) {
    // The price of a destruction as the upkeep takes it. The money never goes below 0, so a
    // ship left with none paid all it had, which may include a reward of the same frame that
    // no view saw: then the notice says so rather than a sum that may be wrong.
    const std::int64_t price = std::max<std::int64_t>(RoundToInt(difficulty * 1000), 0);
    if (now.money <= 0 && before.money < price) {
      return "Destroyed: all money lost, back at the home planet";
    }
    return "Destroyed: -" + Grouped(static_cast<std::uint64_t>(price)) +
           " money, back at the home planet";
  }
  if (now.teleport_starved && !before.teleport_starved) return "Teleport: no energy";
  if (now.stats_asked && !before.stats_asked && !now.at_home) {
    return "STATS: buying only near the home planet, hold T to jump home";
  }
  if (now.shield != before.shield) return Switched("Shield", now.shield);
  if (now.shock != before.shock) return Switched("Shock", now.shock);
  if (now.boost != before.boost) return Switched("Boost", now.boost);
  if (now.muted != before.muted) return now.muted ? "Muted" : "Sound on";
  return "";
}

Notices::Notices(Game& game, const GameSound* sound)
    : game_(game), sound_(sound), last_(ViewForNotices(game, sound != nullptr && sound->Muted())) {}

void Notices::Watch() {
  const NoticeView now = ViewForNotices(game_, sound_ != nullptr && sound_->Muted());
  const std::string notice = NoticeFor(last_, now, game_.Difficulty);
  last_ = now;
  if (!notice.empty()) {
    game_.media.ShowNotice(notice);
    frames_left_ = kNoticeFrames;
  } else if (frames_left_ > 0 && --frames_left_ == 0) {
    game_.media.ShowNotice("");
  }
}

}  // namespace starvane
