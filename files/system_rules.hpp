#pragma once
// Which system's rules for file names and folders a build follows. The rules themselves are
// plain code that every build compiles (and tests): only the choice of them is the system's.

namespace starvane {

enum class SystemRules {
  Posix,    // Linux and its kin: a name is any bytes but '/' and zero; case tells names apart
  Windows,  // device names, reserved characters, no trailing dot or space; case is folded
};

#ifdef _WIN32
constexpr SystemRules kThisSystem = SystemRules::Windows;
#else
constexpr SystemRules kThisSystem = SystemRules::Posix;
#endif

}  // namespace starvane
