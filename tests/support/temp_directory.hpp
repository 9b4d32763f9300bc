#pragma once
// A fresh, empty directory for one test, removed again at its end; or a directory that is
// already there, used the same way and left as it is.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "files/path_text.hpp"

namespace starvane::testing {

class TempDirectory {
 public:
  TempDirectory() {
    std::random_device entropy;
    path_ = std::filesystem::temp_directory_path() /
            ("starvane-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(path_);
  }
  explicit TempDirectory(std::filesystem::path existing)
      : path_(std::move(existing)), owned_(false) {}
  ~TempDirectory() {
    std::error_code ignored;
    if (owned_) std::filesystem::remove_all(path_, ignored);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream(path_ / PathOfText(name), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ / PathOfText(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
  bool owned_ = true;
};

// The path of a file in the directory, quoted for a shell's command line.
inline std::string In(const TempDirectory& dir, const std::string& name) {
  return "'" + (dir.Path() / name).string() + "'";
}

}  // namespace starvane::testing
