#include "files/files.hpp"

#include <cerrno>
#include <system_error>

#include "files/path_text.hpp"
#include "files/system.hpp"

namespace starvane {
namespace {

class FileErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "starvane files"; }
  std::string message(int) const override { return "not a regular file"; }
};

}  // namespace

std::error_code NotARegularFile() {
  static const FileErrorCategory category;
  return std::error_code(1, category);
}

FileTable::FileTable(std::filesystem::path directory) : directory_(std::move(directory)) {}

FileTable::~FileTable() {
  for (auto& [slot, opened] : slots_) std::fclose(opened.stream);
}

bool FileTable::IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

int FileTable::OpenFile(int file, std::string_view name) {
  return Open(file, name, true, kNoByteLimit);
}

int FileTable::ReadFile(int file, std::string_view name, std::uintmax_t byte_limit) {
  return Open(file, name, false, byte_limit);
}

int FileTable::Open(int file, std::string_view name, bool create, std::uintmax_t byte_limit) {
  CloseFile(file);
  if (!IsPlainFileName(name)) {
    last_open_error_ = std::make_error_code(std::errc::invalid_argument);
    return 0;
  }
  // Created when absent, never truncated: an existing file keeps its bytes.
  std::FILE* stream =
      OpenRegularStream(directory_ / PathOfText(name), create, byte_limit, last_open_error_);
  if (stream == nullptr) return 0;
  last_open_error_.clear();
  slots_[file] = OpenedFile{stream, {}};
  current_ = file;
  has_current_ = true;
  return 1;
}

void FileTable::CloseFile(int file) {
  const auto found = slots_.find(file);
  if (found == slots_.end()) return;
  std::fclose(found->second.stream);
  slots_.erase(found);
  if (has_current_ && current_ == file) has_current_ = false;
}

FileTable::OpenedFile* FileTable::Current() {
  if (!has_current_) return nullptr;
  const auto found = slots_.find(current_);
  return found == slots_.end() ? nullptr : &found->second;
}

int FileTable::Eof(int file) {
  const auto found = slots_.find(file);
  if (found == slots_.end()) return 1;
  OpenedFile& opened = found->second;
  const int byte = std::fgetc(opened.stream);
  if (byte == EOF) {
    std::clearerr(opened.stream);
    return 1;
  }
  std::ungetc(byte, opened.stream);
  return 0;
}

std::string FileTable::ReadLine() {
  std::string line;
  OpenedFile* opened = Current();
  if (opened == nullptr) return line;
  errno = 0;
  for (;;) {
    const int byte = std::fgetc(opened->stream);
    if (byte == EOF && std::ferror(opened->stream) && !opened->read_error) {
      opened->read_error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    }
    if (byte == EOF || byte == '\n' || byte == 0) break;
    if (byte == '\r') {
      // CR LF ends a line as one terminator; a CR alone ends it too and keeps the next byte.
      const int next = std::fgetc(opened->stream);
      if (next != '\n' && next != EOF) std::ungetc(next, opened->stream);
      break;
    }
    line += static_cast<char>(byte);
  }
  std::clearerr(opened->stream);
  return line;
}

std::error_code FileTable::ReadError(int file) const {
  const auto found = slots_.find(file);
  return found == slots_.end() ? std::error_code() : found->second.read_error;
}

}  // namespace starvane
