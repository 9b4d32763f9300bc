#include "media/files.hpp"

#include <cerrno>
#include <system_error>

namespace starvane {

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return std::filesystem::current_path(error);
  return program.parent_path();
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
  return Open(file, name, true);
}

int FileTable::ReadFile(int file, std::string_view name) {
  return Open(file, name, false);
}

int FileTable::Open(int file, std::string_view name, bool create) {
  CloseFile(file);
  if (!IsPlainFileName(name)) {
    last_open_error_ = std::make_error_code(std::errc::invalid_argument);
    return 0;
  }
  const std::filesystem::path path = directory_ / std::string(name);
  std::FILE* stream = nullptr;
  errno = 0;
  if (create) {
    stream = std::fopen(path.c_str(), "r+b");
    // Create the file only when it really is absent: "w+b" on an existing file would empty it.
    if (stream == nullptr && errno == ENOENT) stream = std::fopen(path.c_str(), "w+b");
  } else {
    stream = std::fopen(path.c_str(), "rb");
  }
  if (stream == nullptr) {
    last_open_error_ = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    return 0;
  }
  last_open_error_.clear();
  slots_[file] = OpenedFile{stream, false, {}};
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

void FileTable::SwitchTo(OpenedFile& opened, bool writing) {
  if (opened.writing != writing) std::fseek(opened.stream, 0, SEEK_CUR);
  opened.writing = writing;
}

int FileTable::Eof(int file) {
  const auto found = slots_.find(file);
  if (found == slots_.end()) return 1;
  OpenedFile& opened = found->second;
  SwitchTo(opened, false);
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
  SwitchTo(*opened, false);
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

bool FileTable::AtEndOfEndedLine(int file) {
  const auto found = slots_.find(file);
  if (found == slots_.end()) return false;
  OpenedFile& opened = found->second;
  SwitchTo(opened, false);
  bool ended = true;
  if (std::fseek(opened.stream, -1, SEEK_END) == 0) {
    const int last = std::fgetc(opened.stream);
    ended = last == '\n' || last == '\r';
  }
  std::clearerr(opened.stream);
  std::fseek(opened.stream, 0, SEEK_END);
  return ended;
}

void FileTable::WriteLine(std::string_view text) {
  OpenedFile* opened = Current();
  if (opened == nullptr) return;
  SwitchTo(*opened, true);
  std::fwrite(text.data(), 1, text.size(), opened->stream);
  std::fwrite("\r\n", 1, 2, opened->stream);
}

}  // namespace starvane
