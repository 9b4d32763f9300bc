#pragma once
// The media layer as the game sees it: everything that touches the machine lives behind this.

#include <filesystem>

#include "media/files.hpp"

namespace starvane {

struct Media {
  explicit Media(std::filesystem::path file_directory) : Files(std::move(file_directory)) {}

  FileTable Files;
};

}  // namespace starvane
