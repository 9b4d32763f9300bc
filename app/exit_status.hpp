#pragma once
// How the program ends: its exit status, and the one line that says why it failed.

#include <string>

namespace starvane {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;         // any failure but a bad command line
constexpr int kExitBadCommandLine = 2;  // a bad command line or input script

// Writes "starvane: MESSAGE" to standard error; returns the status, for `return Fail(...)`.
int Fail(int status, const std::string& message);

// Fail(kExitFailure, ...) for an output that could not be written: what, where, and why.
int CannotWrite(const std::string& what, const std::string& path, const std::string& why);

}  // namespace starvane
