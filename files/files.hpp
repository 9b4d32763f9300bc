#pragma once
// Line-oriented text files addressed by small slot numbers. All names are resolved against one
// directory (the program's own, or the one given with --files), never the working directory.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <system_error>

namespace starvane {

// The directory that holds the running program (on Linux, that of /proc/self/exe).
std::filesystem::path ProgramDirectory();

// Why a name was refused that is there but no regular file (a FIFO, a device, a directory, a
// socket): reading from one may wait for ever or never end. Its message is "not a regular file".
std::error_code NotARegularFile();

// No limit on the size of a file opened for reading.
constexpr std::uintmax_t kNoByteLimit = std::numeric_limits<std::uintmax_t>::max();

class FileTable {
 public:
  explicit FileTable(std::filesystem::path directory);
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  const std::filesystem::path& Directory() const { return directory_; }

  // Opens the named file at its start, creating it empty when it does not exist and never
  // truncating it. Non-zero on success. The file becomes current. (Files are written whole,
  // through files/atomic_write.hpp and files/append_line.hpp, never through this table.)
  int OpenFile(int file, std::string_view name);
  // Opens an existing file for reading only; 0 when it does not exist, or when it is larger than
  // byte_limit bytes. The file becomes current.
  int ReadFile(int file, std::string_view name, std::uintmax_t byte_limit = kNoByteLimit);
  // Both open only regular files (a link is followed to its file), and never wait to do so: a
  // FIFO, a device or a directory of that name is refused at once.
  //
  // Why the last OpenFile or ReadFile that returned 0 failed: no_such_file_or_directory when
  // the file is simply absent, invalid_argument for a name that is no plain file name,
  // NotARegularFile(), file_too_large beyond the byte limit, else the system's reason.
  std::error_code LastOpenError() const { return last_open_error_; }
  void CloseFile(int file);
  // Non-zero when no byte is left to read in that file (or the slot holds no file).
  int Eof(int file);
  // One line of the current file without its terminator: LF, CR LF, a lone CR, a zero byte or
  // the end of the file ends it. "" when there is no current file.
  std::string ReadLine();
  // The first error met while reading that file since it was opened (not its end: an I/O
  // error); empty when there was none.
  std::error_code ReadError(int file) const;

  // A name the game may open: a plain file name inside the directory. Empty names, path
  // separators, "." and ".." and zero bytes are refused, so no name can reach another folder.
  static bool IsPlainFileName(std::string_view name);

 private:
  struct OpenedFile {
    std::FILE* stream = nullptr;
    std::error_code read_error;
  };
  int Open(int file, std::string_view name, bool create, std::uintmax_t byte_limit);
  OpenedFile* Current();

  std::filesystem::path directory_;
  std::map<int, OpenedFile> slots_;
  int current_ = -1;
  bool has_current_ = false;
  std::error_code last_open_error_;
};

}  // namespace starvane
