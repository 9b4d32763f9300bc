#pragma once
// --verify: a recording replayed headless, its result printed as one line of JSON and held to
// the result the recording claims. A site that keeps scores runs it on an upload with its own
// build and trusts only a result that verified.

#include <optional>
#include <string>
#include <variant>

#include "app/command_line.hpp"
#include "replay/input_script.hpp"

namespace starvane {

// Why these options cannot go together with --verify or --watch (options that choose another
// game, another input or another end than the recording's); nothing when they can.
std::optional<std::string> ReplayOptionsProblem(const Options& options);

// Replays the recording of --verify and prints its result. The exit status: 0 when the result
// the recording claims is the one replayed, 1 when it is not (or it claims none), 2 when the
// recording cannot be read or parsed, or the options make no sense with --verify.
int VerifyRecording(const Options& options);

}  // namespace starvane
