#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <shared_mutex>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/cp1252.h"
#include "platform/folder_listing.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Anything under the name, a link to nowhere included.
bool Exists(const fs::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

// One component: as written, then as Windows-1252 turned to UTF-8, then without
// regard to case, each also without trailing dots and blanks. Below a folder
// that does not exist nothing is looked up: the spelling alone is kept. When
// the caller knows the name as written is not there, it is not looked at again.
fs::path ResolveComponent(const fs::path& folder, std::string_view written, bool& found,
                          bool writtenMissing = false) {
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
    for (std::size_t i = writtenMissing ? 1 : 0; i < spellings.size(); ++i) {
      if (Exists(folder / spellings[i])) return folder / spellings[i];
    }
    for (const auto& name : spellings) {
      if (auto listed = FindInFolder(folder.empty() ? fs::path(".") : folder, LowerCase(name))) return folder / *listed;
    }
  }
  found = false;
  const std::string& fallback = spellings.back();
  return folder / (trimmed.empty() ? std::string(written) : (IsValidUtf8(trimmed) ? trimmed : fallback));
}

// A Windows path taken apart: where it starts ("/" after a drive or a leading
// separator, else nothing) and its names, empty ones left out.
struct WrittenPath {
  fs::path root;
  std::vector<std::string_view> names;
};

WrittenPath SplitWindowsPath(std::string_view windowsPath) {
  WrittenPath path;
  std::size_t start = 0;
  if (windowsPath.size() >= 2 && IsAsciiLetter(windowsPath[0]) && windowsPath[1] == ':') {
    path.root = "/";
    start = 2;
  } else if (!windowsPath.empty() && IsSeparator(windowsPath[0])) {
    path.root = "/";
  }
  while (start <= windowsPath.size()) {
    std::size_t end = start;
    while (end < windowsPath.size() && !IsSeparator(windowsPath[end])) ++end;
    if (end > start) path.names.push_back(windowsPath.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

// The folder a path lies in, as the listings name it.
fs::path FolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

bool IsFolder(const fs::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Folders looked up, by their written spelling: the many files looked up in one
// picture folder resolve it once. A folder found is kept while it is a folder;
// a folder missing, while the last folder on its way that exists is unchanged
// (nothing can have been made in it).
class ResolvedFolders {
 public:
  struct Folder {
    fs::path resolved;
    bool found = false;
  };

  std::optional<Folder> Find(const std::string& written) {
    Kept kept;
    {
      std::shared_lock lock(mutex_);
      const auto at = folders_.find(written);
      if (at == folders_.end()) return std::nullopt;
      kept = at->second;
    }
    if (kept.folder.found ? !IsFolder(kept.folder.resolved) : StampOf(kept.witness) != kept.stamp) return std::nullopt;
    return kept.folder;
  }

  void Keep(const std::string& written, const Folder& folder, const fs::path& witness) {
    Kept kept{folder, witness, {}};
    if (!folder.found) {
      const auto stamp = StampOf(witness);
      if (!stamp) return;
      kept.stamp = stamp;
    } else if (!IsFolder(folder.resolved)) {
      return;
    }
    constexpr std::size_t kMostKept = 4096;
    std::lock_guard lock(mutex_);
    if (folders_.size() >= kMostKept) folders_.clear();
    folders_.insert_or_assign(written, std::move(kept));
  }

 private:
  struct Kept {
    Folder folder;
    fs::path witness;
    std::optional<fs::file_time_type> stamp;
  };

  static std::optional<fs::file_time_type> StampOf(const fs::path& path) {
    std::error_code error;
    const auto stamp = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return stamp;
  }

  std::shared_mutex mutex_;
  std::unordered_map<std::string, Kept> folders_;
};

ResolvedFolders& Folders() {
  static ResolvedFolders folders;
  return folders;
}

// The folder of `names` below `root`, name by name; `found` says whether all
// of it exists.
fs::path ResolveFolder(const fs::path& root, std::span<const std::string_view> names, bool& found) {
  if (names.empty()) return root;
  std::string written = root.native();
  for (const std::string_view name : names) (written += name) += '/';
  if (const auto kept = Folders().Find(written)) {
    found = kept->found;
    return kept->resolved;
  }
  fs::path folder = root;
  fs::path witness = root.empty() ? fs::path(".") : root;
  for (const std::string_view name : names) {
    if (found) witness = folder.empty() ? fs::path(".") : folder;
    folder = ResolveComponent(folder, name, found);
  }
  Folders().Keep(written, {folder, found}, witness);
  return folder;
}

// Where a Windows path lands, and whether it names something that exists.
fs::path Resolve(std::string_view windowsPath, bool& found) {
  found = true;
  const WrittenPath written = SplitWindowsPath(windowsPath);
  if (written.names.empty()) return written.root;
  // Every name as written is the common case, and the answer then: one look.
  fs::path asWritten = written.root;
  for (const std::string_view name : written.names) asWritten /= name;
  if (Exists(asWritten)) return asWritten;
  const fs::path folder = ResolveFolder(written.root, std::span(written.names).first(written.names.size() - 1), found);
  return ResolveComponent(folder, written.names.back(), found, folder == asWritten.parent_path());
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
    const fs::path path = ResolvePath(windowsPath);
    FolderChange change(FolderOf(path));
    descriptor_ = ::open(path.c_str(), flags, 0666);
    if (descriptor_ < 0) throw RunTimeError(ErrorCode::PathFileAccess);
    change.Commit(path.filename().native());
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
  bool found = true;
  return Resolve(windowsPath, found);
}

bool FileExists(std::string_view windowsPath) noexcept {
  try {
    if (windowsPath.empty()) return false;
    bool found = true;
    const fs::path path = Resolve(windowsPath, found);
    std::error_code error;
    return found && fs::is_regular_file(path, error);
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

ReadOnlyFile::ReadOnlyFile(std::string_view windowsPath)
    // The path is resolved once; never waiting on a FIFO, only a regular file is read.
    : descriptor_(::open(ResolvePath(windowsPath).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {
  if (descriptor_ < 0) throw RunTimeError(FileExists(windowsPath) ? ErrorCode::PathFileAccess : ErrorCode::FileNotFound);
  struct stat status {};
  const bool regular = ::fstat(descriptor_, &status) == 0 && S_ISREG(status.st_mode);
  if (!regular) {
    ::close(descriptor_);
    throw RunTimeError(ErrorCode::FileNotFound);
  }
  size_ = static_cast<std::uint64_t>(status.st_size);
}

ReadOnlyFile::~ReadOnlyFile() {
  ::close(descriptor_);
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, std::span<char> bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::pread(descriptor_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw RunTimeError(ErrorCode::PathFileAccess);
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::string ReadWholeFile(std::string_view windowsPath) {
  const ReadOnlyFile file(windowsPath);
  std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
  // A file cut short while it is read cannot be read.
  if (file.ReadAt(0, bytes) != bytes.size()) throw RunTimeError(ErrorCode::PathFileAccess);
  return bytes;
}

std::string ReadStretch(std::string_view windowsPath, std::int64_t offset, std::int64_t length) {
  if (length < 0) throw RunTimeError(ErrorCode::InvalidArgument);
  if (offset < 1) throw RunTimeError(ErrorCode::BadRecordNumber);
  const ReadOnlyFile file(windowsPath);
  const auto size = static_cast<std::int64_t>(file.Size());
  if (length == 0 || offset > size) return {};
  std::string bytes(static_cast<std::size_t>(std::min(length, size - offset + 1)), '\0');
  if (file.ReadAt(static_cast<std::uint64_t>(offset - 1), bytes) != bytes.size()) {
    throw RunTimeError(ErrorCode::PathFileAccess);
  }
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
    if (!FileExists(fromWindowsPath)) return false;
    const fs::path from = ResolvePath(fromWindowsPath);
    const fs::path to = ResolvePath(toWindowsPath);
    if (Exists(to)) return false;
    FolderChange leaving(FolderOf(from));
    FolderChange arriving(FolderOf(to));
    fs::rename(from, to, error);
    if (error) return false;
    if (FolderOf(from) == FolderOf(to)) {
      leaving.Commit(to.filename().native(), from.filename().native());
    } else {
      leaving.Commit({}, from.filename().native());
      arriving.Commit(to.filename().native());
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool DeleteFile(std::string_view windowsPath) noexcept {
  try {
    if (!FileExists(windowsPath)) return false;
    const fs::path path = ResolvePath(windowsPath);
    FolderChange change(FolderOf(path));
    std::error_code error;
    if (!fs::remove(path, error) || error) return false;
    change.Commit({}, path.filename().native());
    return true;
  } catch (...) {
    return false;
  }
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  // Counted first: a whole index is a hundred thousand lines, grown into
  // twice over otherwise.
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')) + 1);
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

TextFileReader::TextFileReader(std::string_view windowsPath)
    : TextFileReader(std::make_shared<const ReadOnlyFile>(windowsPath), 0, UINT64_MAX) {}

TextFileReader::TextFileReader(std::shared_ptr<const ReadOnlyFile> file, std::uint64_t begin, std::uint64_t end)
    : file_(std::move(file)), end_(end), bufferStart_(begin) {}

bool TextFileReader::Fill() {
  if (position_ > 0) {
    buffer_.erase(0, position_);
    bufferStart_ += position_;
    position_ = 0;
  }
  constexpr std::size_t kChunk = 1 << 16;
  const std::uint64_t from = bufferStart_ + buffer_.size();
  const std::size_t wanted = from >= end_ ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end_ - from));
  const std::size_t old = buffer_.size();
  buffer_.resize(old + wanted);
  const std::size_t got = file_->ReadAt(from, std::span(buffer_).subspan(old));
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
