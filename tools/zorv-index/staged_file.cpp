#include "staged_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kMarker = ".zorv-index-";
constexpr std::string_view kSuffix = ".tmp";

// The temporary names a signal handler must remove. A handler may touch nothing
// but plain memory and async-signal-safe calls, so the names live in fixed
// slots, each published by its flag after its name is complete.
struct PendingSlot {
  std::array<char, 4096> path{};
  volatile sig_atomic_t inUse = 0;
};
std::array<PendingSlot, 8> pendingSlots;

void OnInterrupt(int signalNumber) {
  for (PendingSlot& slot : pendingSlots) {
    if (slot.inUse) ::unlink(slot.path.data());
  }
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

int ClaimSlot(const fs::path& path) {
  const std::string& name = path.native();
  for (std::size_t i = 0; i < pendingSlots.size(); ++i) {
    PendingSlot& slot = pendingSlots[i];
    if (slot.inUse || name.size() >= slot.path.size()) continue;
    std::memcpy(slot.path.data(), name.c_str(), name.size() + 1);
    slot.inUse = 1;
    return static_cast<int>(i);
  }
  return -1;  // more files than slots: still removed by the destructor or the next run
}

void ReleaseSlot(int slot) {
  if (slot >= 0) pendingSlots[static_cast<std::size_t>(slot)].inUse = 0;
}

[[noreturn]] void CannotWrite(const fs::path& path, int error) {
  throw RunTimeError(ErrorCode::PathFileAccess,
                     path.string() + ": cannot be written (" + std::generic_category().message(error) + ")");
}

// The process id in "<name>.zorv-index-<pid>.tmp", or 0 when the name is not one of ours.
pid_t TemporaryOwner(std::string_view name) {
  if (!name.ends_with(kSuffix)) return 0;
  name.remove_suffix(kSuffix.size());
  const std::size_t marker = name.rfind(kMarker);
  if (marker == std::string_view::npos || marker == 0) return 0;
  const std::string_view digits = name.substr(marker + kMarker.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
  return pid;
}

}  // namespace

StagedFile::StagedFile(fs::path finalPath) : finalPath_(std::move(finalPath)) {
  temporaryPath_ = finalPath_;
  temporaryPath_ += std::string(kMarker) + std::to_string(::getpid()) + std::string(kSuffix);
  slot_ = ClaimSlot(temporaryPath_);
  descriptor_ = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (descriptor_ < 0) {
    const int error = errno;
    ReleaseSlot(slot_);
    CannotWrite(finalPath_.parent_path().empty() ? fs::path(".") : finalPath_.parent_path(), error);
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
      CannotWrite(temporaryPath_, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
    size_ += static_cast<std::uint64_t>(written);
  }
}

void StagedFile::Commit() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  if (::close(descriptor) != 0) CannotWrite(temporaryPath_, errno);
  if (::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
    throw RunTimeError(ErrorCode::PathFileAccess, finalPath_.string() + ": cannot be replaced (" +
                                                      std::generic_category().message(errno) + ")");
  }
  temporaryPath_.clear();
  ReleaseSlot(slot_);
  slot_ = -1;
}

void RemoveTemporariesOnInterrupt() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) ::signal(signalNumber, OnInterrupt);
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
    if (it->is_regular_file(ignored) && fs::remove(it->path(), ignored)) ++removed;
  }
  return removed;
}

}  // namespace zorv::index
