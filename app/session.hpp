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
#include "app/options_page.hpp"
#include "media/loop_end.hpp"
#include "media/media.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "replay/recording_result.hpp"
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
  // The player's settings and their options page: a game of live input only. Headless and
  // scripted games neither read nor write settings.txt, so they play and sound alike anywhere.
  std::optional<OptionsPage> options;
  std::unique_ptr<WavRecording> audio_out;  // --audio-out, written from the game's first frame

  // The input script to play, when the caller has read it already (--verify); else --input's.
  std::optional<InputScript> script;
  bool scripted = false;  // the input is a script's, not the player's
  // A replay that writes nothing of the player's: no ship locked or saved, no game kept, no
  // screenshot (--watch, --verify, and any script that holds its ship file).
  bool writes_nothing = false;
  // The ship file a kept recording began with, flown instead of the files directory's ship
  // (the inner nothing: it began without one).
  std::optional<std::optional<std::string>> ship_file;
  // Where the replay of a kept recording begins: the keys held and the pointer.
  KeyStates held{};
  PointerPosition pointer{};

  // The game kept in replays/ (live input only, unless --no-record).
  bool keep = false;
  std::unique_ptr<InputRecorder> kept;
  // Frames presented before the game began (the launcher's), and the money it began with: the
  // result counts from there.
  std::int64_t frame_origin = 0;
  std::int64_t money_start = 0;
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

// Whether the game is kept in replays/: a game of live input (not headless, not a script, not
// watched or verified) unless --no-record.
bool KeepsTheGame(const Options& options);
// Opens the kept recording once the ship is locked and loaded, from the bytes its file had
// (nothing: none). One that cannot be made is said once on standard error, and play goes on.
void StartKeptRecording(Game& game, Session& session,
                        const std::optional<std::string>& ship_file_bytes);
// Ends the kept recording, if any, with the way the game ended and its result; a recording
// that could not be written completely is said once on standard error.
void FinishKeptRecording(Game& game, Session& session, LoopEnd end);
// What the game came to, counted from its start (after the launcher).
RecordingResult GameResult(const Game& game, const Session& session);

// The end of every session that was prepared: the game's outputs (unless play failed), then
// the sound file, finished however play ended. Returns the program's exit status.
int FinishSession(Game& game, const Options& options, Session& session, const PlayEnd& end);

}  // namespace starvane
