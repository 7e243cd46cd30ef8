#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/cp1252.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A folder's names by their folded spelling. Big picture folders are listed once
// per run; a changed folder is listed again.
class FolderIndex {
 public:
  std::optional<std::string> Find(const fs::path& folder, const std::string& foldedName) {
    std::error_code error;
    const auto stamp = fs::last_write_time(folder, error);
    if (error) return std::nullopt;
    std::lock_guard lock(mutex_);
    auto& entry = folders_[folder.native()];
    if (!entry.listed || entry.stamp != stamp) {
      entry.names.clear();
      for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().native();
        entry.names.emplace(LowerCase(name), name);
      }
      entry.stamp = stamp;
      entry.listed = true;
    }
    const auto found = entry.names.find(foldedName);
    if (found == entry.names.end()) return std::nullopt;
    return found->second;
  }

 private:
  struct Listing {
    bool listed = false;
    fs::file_time_type stamp;
    std::unordered_multimap<std::string, std::string> names;
  };
  std::mutex mutex_;
  std::unordered_map<std::string, Listing> folders_;
};

FolderIndex& Folders() {
  static FolderIndex folders;
  return folders;
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error)) || fs::exists(path, error);
}

// One component: as written, then as Windows-1252 turned to UTF-8, then without
// regard to case, each also without trailing dots and blanks. Below a folder
// that does not exist nothing is looked up: the spelling alone is kept.
fs::path ResolveComponent(const fs::path& folder, std::string_view written, bool& found) {
  std::string trimmed(written);
  while (!trimmed.empty() && (trimmed.back() == '.' || trimmed.back() == ' ') && trimmed != "." && trimmed != "..") {
    trimmed.pop_back();
  }
  std::vector<std::string> spellings{std::string(written)};
  if (trimmed != written && !trimmed.empty()) spellings.push_back(trimmed);
  const std::size_t plain = spellings.size();
  for (std::size_t i = 0; i < plain; ++i) {
    if (!IsValidUtf8(spellings[i])) spellings.push_back(Cp1252ToUtf8(spellings[i]));
  }
  if (found) {
    for (const auto& name : spellings) {
      if (Exists(folder / name)) return folder / name;
    }
    for (const auto& name : spellings) {
      if (auto listed = Folders().Find(folder.empty() ? fs::path(".") : folder, LowerCase(name))) return folder / *listed;
    }
  }
  found = false;
  const std::string& fallback = spellings.back();
  return folder / (trimmed.empty() ? std::string(written) : (IsValidUtf8(trimmed) ? trimmed : fallback));
}

std::ifstream OpenForReading(std::string_view windowsPath) {
  if (!FileExists(windowsPath)) throw RunTimeError(ErrorCode::FileNotFound);
  std::ifstream file(ResolvePath(windowsPath), std::ios::binary);
  if (!file) throw RunTimeError(ErrorCode::PathFileAccess);
  return file;
}

struct DescriptorCloser {
  int descriptor;
  ~DescriptorCloser() { ::close(descriptor); }
};

// A file opened for writing by this program. Opening never waits (a FIFO without
// a reader fails at once) and only a regular file is written: a FIFO, device or
// folder under one of the program's file names is a failure, never a wait.
class WritableFile {
 public:
  enum class Mode { Replace, Append };

  WritableFile(std::string_view windowsPath, Mode mode) {
    const int flags = O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (mode == Mode::Append ? O_APPEND : 0);
    descriptor_ = ::open(ResolvePath(windowsPath).c_str(), flags, 0666);
    if (descriptor_ < 0) throw RunTimeError(ErrorCode::PathFileAccess);
    struct stat status {};
    // Emptied only once it is known to be a regular file.
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode) ||
        (mode == Mode::Replace && ::ftruncate(descriptor_, 0) != 0)) {
      ::close(descriptor_);
      throw RunTimeError(ErrorCode::PathFileAccess);
    }
  }
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  ~WritableFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) throw RunTimeError(ErrorCode::PathFileAccess);
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
  }

  void Close() {
    const int descriptor = std::exchange(descriptor_, -1);
    if (::close(descriptor) != 0) throw RunTimeError(ErrorCode::PathFileAccess);
  }

 private:
  int descriptor_ = -1;
};

}  // namespace

fs::path ResolvePath(std::string_view windowsPath) {
  std::string root;
  std::size_t start = 0;
  if (windowsPath.size() >= 2 && std::isalpha(static_cast<unsigned char>(windowsPath[0])) && windowsPath[1] == ':') {
    root = "/";
    start = 2;
  } else if (!windowsPath.empty() && IsSeparator(windowsPath[0])) {
    root = "/";
  }
  std::vector<std::string_view> components;
  while (start <= windowsPath.size()) {
    std::size_t end = start;
    while (end < windowsPath.size() && !IsSeparator(windowsPath[end])) ++end;
    if (end > start) components.push_back(windowsPath.substr(start, end - start));
    start = end + 1;
  }
  // A path that exists as written is what the walk below would find, each of
  // its folders existing as written too: one look-up instead of one a folder.
  std::string written = root;
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (i > 0) written += '/';
    written += components[i];
  }
  struct stat status {};
  if (!components.empty() && ::stat(written.c_str(), &status) == 0) return written;

  fs::path result = root;
  bool found = true;
  for (const std::string_view component : components) result = ResolveComponent(result, component, found);
  return result;
}

bool FileExists(std::string_view windowsPath) noexcept {
  try {
    if (windowsPath.empty()) return false;
    std::error_code error;
    return fs::is_regular_file(ResolvePath(windowsPath), error);
  } catch (...) {
    return false;
  }
}

std::uintmax_t FileLength(std::string_view windowsPath) {
  if (!FileExists(windowsPath)) throw RunTimeError(ErrorCode::FileNotFound);
  std::error_code error;
  const auto size = fs::file_size(ResolvePath(windowsPath), error);
  if (error) throw RunTimeError(ErrorCode::PathFileAccess);
  return size;
}

std::string ReadWholeFile(std::string_view windowsPath) {
  // The path is resolved once; never waiting on a FIFO, only a regular file is read.
  const int descriptor = ::open(ResolvePath(windowsPath).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    throw RunTimeError(FileExists(windowsPath) ? ErrorCode::PathFileAccess : ErrorCode::FileNotFound);
  }
  const DescriptorCloser closer{descriptor};
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) throw RunTimeError(ErrorCode::PathFileAccess);
  if (!S_ISREG(status.st_mode)) throw RunTimeError(ErrorCode::FileNotFound);
  std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(descriptor, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw RunTimeError(ErrorCode::PathFileAccess);
    done += static_cast<std::size_t>(got);
  }
  return bytes;
}

std::string ReadStretch(std::string_view windowsPath, std::int64_t offset, std::int64_t length) {
  if (length < 0) throw RunTimeError(ErrorCode::InvalidArgument);
  if (offset < 1) throw RunTimeError(ErrorCode::BadRecordNumber);
  std::ifstream file = OpenForReading(windowsPath);
  file.seekg(0, std::ios::end);
  const std::int64_t size = file.tellg();
  if (size < 0) throw RunTimeError(ErrorCode::PathFileAccess);
  if (length == 0 || offset > size) return {};
  const std::int64_t available = std::min(length, size - offset + 1);
  std::string bytes(static_cast<std::size_t>(available), '\0');
  file.seekg(offset - 1);
  if (!file.read(bytes.data(), available)) throw RunTimeError(ErrorCode::PathFileAccess);
  return bytes;
}

void WriteWholeFile(std::string_view windowsPath, std::string_view bytes) {
  WritableFile file(windowsPath, WritableFile::Mode::Replace);
  file.Write(bytes);
  file.Close();
}

void AppendLine(std::string_view windowsPath, std::string_view line) {
  WritableFile file(windowsPath, WritableFile::Mode::Append);
  file.Write(std::string(line) + "\r\n");
  file.Close();
}

bool RenameFile(std::string_view fromWindowsPath, std::string_view toWindowsPath) noexcept {
  try {
    std::error_code error;
    // Nothing that stands under the new name is replaced, whatever it is.
    if (!FileExists(fromWindowsPath) || Exists(ResolvePath(toWindowsPath))) return false;
    fs::rename(ResolvePath(fromWindowsPath), ResolvePath(toWindowsPath), error);
    return !error;
  } catch (...) {
    return false;
  }
}

bool DeleteFile(std::string_view windowsPath) noexcept {
  try {
    if (!FileExists(windowsPath)) return false;
    std::error_code error;
    return fs::remove(ResolvePath(windowsPath), error) && !error;
  } catch (...) {
    return false;
  }
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t cr = text.find('\r', position);
    if (cr == std::string_view::npos) {
      lines.push_back(text.substr(position));
      break;
    }
    lines.push_back(text.substr(position, cr - position));
    position = cr + 1;
    if (position < text.size() && text[position] == '\n') ++position;
  }
  return lines;
}

TextFileReader::TextFileReader(std::string_view windowsPath) : file_(OpenForReading(windowsPath)) {}

bool TextFileReader::Fill() {
  if (position_ > 0) {
    buffer_.erase(0, position_);
    position_ = 0;
  }
  constexpr std::size_t kChunk = 1 << 16;
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  file_.read(buffer_.data() + old, kChunk);
  const auto got = static_cast<std::size_t>(file_.gcount());
  buffer_.resize(old + got);
  return got > 0;
}

bool TextFileReader::AtEnd() { return position_ >= buffer_.size() && !Fill(); }

bool TextFileReader::ReadLine(std::string& line) {
  if (AtEnd()) return false;
  std::size_t searchFrom = position_;
  for (;;) {
    const std::size_t cr = buffer_.find('\r', searchFrom);
    if (cr != std::string::npos) {
      line.assign(buffer_, position_, cr - position_);
      position_ = cr + 1;
      // The LF of a CR LF pair belongs to the line ending, even across a refill.
      if (position_ == buffer_.size()) Fill();
      if (position_ < buffer_.size() && buffer_[position_] == '\n') ++position_;
      return true;
    }
    const std::size_t scanned = buffer_.size() - position_;
    if (!Fill()) {
      line.assign(buffer_, position_, std::string::npos);
      position_ = buffer_.size();
      return true;
    }
    searchFrom = position_ + scanned;
  }
}

}  // namespace zorv
