#include "platform/staged_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kPrefix = ".zorv-";
constexpr std::string_view kSuffix = ".tmp";

// The temporary names a signal handler must remove. A handler may touch nothing but lock-free atomics,
// plain memory and async-signal-safe calls, so the names live in fixed slots, each published by its state
// once its name is complete. Threads writing at once claim slots of their own.
enum SlotState : int { kFree, kFilling, kPublished };
struct PendingSlot {
  std::array<char, 4096> path{};
  std::atomic<int> state{kFree};
};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<PendingSlot, 64> pendingSlots;
std::atomic<std::uint64_t> sequence{0};

void OnInterrupt(int signalNumber) {
  RemovePendingTemporaries();
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

int ClaimSlot(const fs::path& path) {
  const std::string& name = path.native();
  for (std::size_t i = 0; i < pendingSlots.size(); ++i) {
    PendingSlot& slot = pendingSlots[i];
    int expected = kFree;
    if (name.size() >= slot.path.size() || !slot.state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slot.path.data(), name.c_str(), name.size() + 1);
    slot.state.store(kPublished);
    return static_cast<int>(i);
  }
  return -1;  // more files than slots: still removed by the destructor or the next run
}

void ReleaseSlot(int slot) {
  if (slot >= 0) pendingSlots[static_cast<std::size_t>(slot)].state.store(kFree);
}

[[noreturn]] void CannotWrite(const fs::path& path, int error) {
  throw RunTimeError(ErrorCode::PathFileAccess,
                     path.string() + ": cannot be written (" + std::generic_category().message(error) + ")");
}

// The process id in ".zorv-<pid>-<sequence>.tmp", or 0 when the name is not one of ours.
pid_t TemporaryOwner(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos) return 0;
  const std::string_view digits = name.substr(0, dash);
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
  return pid;
}

}  // namespace

StagedFile::StagedFile(fs::path finalPath) : finalPath_(std::move(finalPath)) {
  const fs::path folder = finalPath_.parent_path();
  // The exclusive open never takes over a file of that name, whoever left it.
  for (int attempt = 0; descriptor_ < 0; ++attempt) {
    temporaryPath_ = folder / (std::string(kPrefix) + std::to_string(::getpid()) + "-" +
                               std::to_string(sequence.fetch_add(1)) + std::string(kSuffix));
    // The name is published before the file exists, so a signal at any moment
    // finds every file this process has made.
    slot_ = ClaimSlot(temporaryPath_);
    descriptor_ =
        ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor_ >= 0) break;
    const int error = errno;
    ReleaseSlot(slot_);
    slot_ = -1;
    if (error != EEXIST || attempt == 16) {
      temporaryPath_.clear();
      CannotWrite(folder.empty() ? fs::path(".") : folder, error);
    }
  }
}

StagedFile::~StagedFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
  ReleaseSlot(slot_);
}

void StagedFile::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      CannotWrite(finalPath_, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
    size_ += static_cast<std::uint64_t>(written);
  }
}

void StagedFile::Commit() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  if (::close(descriptor) != 0) CannotWrite(finalPath_, errno);
  if (::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
    throw RunTimeError(ErrorCode::PathFileAccess, finalPath_.string() + ": cannot be replaced (" +
                                                      std::generic_category().message(errno) + ")");
  }
  temporaryPath_.clear();
  ReleaseSlot(slot_);
  slot_ = -1;
}

void WriteWholeFile(const fs::path& path, std::string_view bytes) {
  StagedFile file(path);
  file.Append(bytes);
  file.Commit();
}

void RemoveTemporariesOnInterrupt() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) ::signal(signalNumber, OnInterrupt);
}

void RemovePendingTemporaries() {
  for (PendingSlot& slot : pendingSlots) {
    if (slot.state.load() == kPublished) ::unlink(slot.path.data());
  }
}

std::size_t RemoveStaleTemporaries(const fs::path& folder) {
  std::size_t removed = 0;
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
       it.increment(error)) {
    const pid_t owner = TemporaryOwner(it->path().filename().native());
    if (owner == 0 || owner == ::getpid()) continue;
    // A run still going keeps its files; only a vanished process's are stale.
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    if (it->is_symlink(ignored) || !it->is_regular_file(ignored)) continue;
    if (fs::remove(it->path(), ignored)) ++removed;
  }
  return removed;
}

}  // namespace zorv
