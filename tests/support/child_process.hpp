#pragma once
// Runs a piece of a test in a child process: for what must not touch the test program itself
// (a quit signal that stays noted, a file size limit), what needs another process (a lock
// held by a game that is killed), or a plain user where the tests run as root (root may write
// even read-only files).

#include <filesystem>
#include <functional>

// Windows has no fork: the tests that need a child process are left out there.
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

namespace starvane::testing {

// The exit code of the child that ran the body (its result), or -1 when it did not end by
// itself.
inline int InChildProcess(const std::function<int()>& body, bool as_plain_user = false) {
  const pid_t child = fork();
  if (child == 0) {
    if (as_plain_user && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(99);
    _exit(body());
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Lets a plain user into the directory (and read what is in it), without letting it write.
inline void OpenToPlainUsers(const std::filesystem::path& directory) {
  using std::filesystem::perms;
  std::filesystem::permissions(directory, perms::owner_all | perms::group_read | perms::group_exec |
                                              perms::others_read | perms::others_exec);
}

}  // namespace starvane::testing

#endif  // _WIN32
