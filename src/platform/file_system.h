#pragma once
// The file layer. The program thinks in Windows paths: "\" and "/" both separate
// folders, "c:" names the root, a name that does not exist as written is found
// without regard to case folder by folder, and a trailing dot names the file
// without it ("index." is the file `index`). Paths are Windows-1252 text.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// Where a Windows path lands on this system. Parts that do not exist keep their
// spelling, so the result names the place a new file would be written.
std::filesystem::path ResolvePath(std::string_view windowsPath);

// True when the path names an existing file that is not a folder; never fails.
bool FileExists(std::string_view windowsPath) noexcept;

// The size of an existing file in bytes. Error 53 when it does not exist.
std::uintmax_t FileLength(std::string_view windowsPath);

// An existing regular file open for reading, from any place and from several
// threads at once: what they read is the file as it was opened, even when a new
// one is renamed over it meanwhile. Opening never waits on a FIFO.
class ReadOnlyFile {
 public:
  // Error 53 when no regular file is there, 75 when it cannot be opened.
  explicit ReadOnlyFile(std::string_view windowsPath);
  // Readers share one through a shared_ptr.
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  // The size when it was opened.
  std::uint64_t Size() const { return size_; }
  // Fills `bytes` from `offset` on, all but at the file's end; returns how many
  // bytes it read. Error 75 when the file cannot be read.
  std::size_t ReadAt(std::uint64_t offset, std::span<char> bytes) const;

 private:
  int descriptor_;
  std::uint64_t size_ = 0;
};

// The whole file as bytes. Error 53 when it does not exist, 75 when it cannot be read.
std::string ReadWholeFile(std::string_view windowsPath);

// `length` bytes from the 1-based `offset`, fewer when the file ends first.
// Error 63 for an offset below 1, 5 for a negative length.
std::string ReadStretch(std::string_view windowsPath, std::int64_t offset, std::int64_t length);

// Both write regular files only and never wait: a FIFO, device or folder under
// the name is error 75, as is any other failure to write.
// Creates or replaces the file with exactly these bytes.
void WriteWholeFile(std::string_view windowsPath, std::string_view bytes);
// Appends one line and CR LF in one write, creating the file when absent.
void AppendLine(std::string_view windowsPath, std::string_view line);

// Both ignore failure and say whether they succeeded. A rename never replaces
// anything that stands under the new name.
bool RenameFile(std::string_view fromWindowsPath, std::string_view toWindowsPath) noexcept;
bool DeleteFile(std::string_view windowsPath) noexcept;

// Splits text already in memory into lines exactly as TextFileReader reads a
// file: at CR LF or a lone CR, a lone LF staying part of its line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Reads 8-bit text line by line. A line ends at CR LF or at a lone CR; a lone LF
// does not end a line and stays part of it.
class TextFileReader {
 public:
  // Error 53 when the file does not exist, 75 when it cannot be opened.
  explicit TextFileReader(std::string_view windowsPath);
  // Reads the bytes [begin, end) of an open file as if they were all of it;
  // several readers may share one file.
  TextFileReader(std::shared_ptr<const ReadOnlyFile> file, std::uint64_t begin, std::uint64_t end);

  // The next line without its ending; false at the end of the file.
  bool ReadLine(std::string& line);
  bool AtEnd();
  // Where in the file the next line starts.
  std::uint64_t Position() const { return bufferStart_ + position_; }

 private:
  bool Fill();

  std::shared_ptr<const ReadOnlyFile> file_;
  std::uint64_t end_ = 0;
  std::uint64_t bufferStart_ = 0;  // where in the file buffer_ starts
  std::string buffer_;
  std::size_t position_ = 0;
};

}  // namespace zorv
