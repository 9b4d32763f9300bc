#pragma once
// A files directory of its own for one fuzzing process, made at the first input and removed at
// exit: the readers under test take their input from files, as the game does. It lies in
// memory (/dev/shm) where there is such a place: a disk makes every run wait for the file.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace starvane::fuzz {

class FuzzFiles {
 public:
  FuzzFiles() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path parent =
        std::filesystem::is_directory(memory, error) && access(memory.c_str(), W_OK) == 0
            ? memory
            : std::filesystem::temp_directory_path();
    std::string pattern = (parent / "starvane-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    directory_ = pattern;
  }
  ~FuzzFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
  FuzzFiles(const FuzzFiles&) = delete;
  FuzzFiles& operator=(const FuzzFiles&) = delete;

  const std::filesystem::path& Directory() const { return directory_; }

  void Write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
    std::ofstream out(directory_ / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
  }

 private:
  std::filesystem::path directory_;
};

}  // namespace starvane::fuzz
