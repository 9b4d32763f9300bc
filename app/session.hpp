#pragma once
// A session: one game played from a command line, in three steps. Preparing settles the
// choices and opens what the game is played with; playing runs the game, through the launcher
// when it begins there; finishing writes what is written at the end.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/command_line.hpp"
#include "media/loop_end.hpp"
#include "media/media.hpp"
#include "sound/wav_file.hpp"
#include "world/game.hpp"

namespace starvane {

struct Session {
  // The command line wins over the input script's header, and both over the launcher.
  std::uint64_t seed = 0;
  float difficulty = 1.0f;
  std::string ship;
  bool launcher = false;       // the game begins in the launcher, which chooses ship and difficulty
  std::optional<Media> media;  // the screen, the input and its recording
  std::unique_ptr<WavRecording> audio_out;  // --audio-out, written from the game's first frame
};

// Everything before the game: reads the input script, settles the choices, refuses an output
// over one of the game's files, connects the screen and opens the recording and the sound file.
// Nothing when the session is ready, else the exit status (its message written). The session
// is the caller's, made in place: the game keeps a reference to its media.
std::optional<int> PrepareSession(const Options& options, Session& session);

// How the play of a session ended.
struct PlayEnd {
  LoopEnd end = LoopEnd::Escape;
  bool played = false;  // the game began (a launcher closed before it did not)
  // The exit status when the game could not begin (its message written); nothing but the
  // sound file is written then.
  std::optional<int> failure = std::nullopt;
  // A kept game chosen in the launcher's Replays list instead of a game: the program watches
  // it next (app/main_sequence.cpp). Empty otherwise.
  std::filesystem::path watch = {};
};

// The game on the session's media: start-up, the launcher, the ship's lock, the world, the
// screen, the ship file, the sound, then the frame loop until the game ends.
PlayEnd PlaySession(Game& game, const Options& options, Session& session);

// The end of every session that was prepared: the game's outputs (unless play failed), then
// the sound file, finished however play ended. Returns the program's exit status.
int FinishSession(Game& game, const Options& options, Session& session, const PlayEnd& end);

}  // namespace starvane
