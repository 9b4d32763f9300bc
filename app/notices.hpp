#pragma once
// Short notices over the picture that tell the player what the keys and the game just did, which
// the picture alone does not show: the ship destroyed and what it cost, the shield, the shock and
// the boost switched on or off, the sound muted, the STATS page opened away from home, and a
// teleport held without energy. They are decided here from what the game's state shows after
// each frame, without the rules ever reading or changing anything for them, and shown by the
// presentation only (Media::ShowNotice): never in the back buffer, so the frames, their hashes
// and screenshots are the same with notices or without.

#include <cstdint>
#include <string>

#include "sound/game_sound.hpp"
#include "world/game.hpp"

namespace starvane {

// What the notices watch, as of the end of a frame.
struct NoticeView {
  std::int64_t deaths = 0;  // the ship's destructions so far
  std::int32_t money = 0;
  bool shield = false;
  bool shock = false;
  bool boost = false;
  bool muted = false;
  bool stats_asked = false;       // the STATS page opens at the next frame
  bool at_home = false;           // the home planet is on the screen: the STATS page sells
  bool teleport_starved = false;  // T held with no energy left to charge it
};

NoticeView ViewForNotices(const Game& game, bool muted);

// The notice that the change from `before` to `now` calls for ("" for none): the most
// important one when several came at once. difficulty sets the price of a destruction.
std::string NoticeFor(const NoticeView& before, const NoticeView& now, float difficulty);

// Watches the game frame by frame and shows each notice for a few seconds.
class Notices {
 public:
  // The sound, when there is one, tells whether it is muted.
  Notices(Game& game, const GameSound* sound);
  // Once a frame, after the controls: shows the frame's notice, or takes an old one away.
  void Watch();

 private:
  Game& game_;
  const GameSound* sound_;
  NoticeView last_;
  int frames_left_ = 0;  // the shown notice stays this many more frames
};

}  // namespace starvane
