#include "startup/picture_archives.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "platform/archive/archive_reader.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/error_log.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

// No picture comes near this; a member that claims or inflates to more is refused.
constexpr std::uint64_t kLargestPicture = std::uint64_t{128} << 20;

constexpr char kMemberMark = '|';

// How often a caller waiting for a picture gets its turn: a window stays
// responsive at this pace.
constexpr auto kWaitingTurn = std::chrono::milliseconds(15);

// An archive's pictures by their file name without regard to case: members at
// the root first, then those one folder down, each time the first in archive
// order. A run of the viewer looks up one or two games in an archive, which a
// pass over the names answers sooner than building an index of 50,000 of them;
// an export looks up thousands, so the index is built once that many passes
// would cost more.
class ArchiveListing {
 public:
  explicit ArchiveListing(const fs::path& archive) : reader_(archive, ZipListing::kKeptBetweenRuns) {}

  const std::string* Find(const std::string& foldedName) const {
    const auto place = Place(foldedName);
    return place ? &reader_.Members()[*place].path : nullptr;
  }

  std::string Read(std::string_view member, std::stop_token stop) const {
    return reader_.Read(member, kLargestPicture, std::move(stop));
  }

 private:
  static constexpr int kPassesBeforeIndex = 16;

  // The member's file name when it lies at `depth` (0: root, 1: one folder down).
  static std::optional<std::string_view> NameAtDepth(std::string_view path, int depth) {
    const auto slash = path.find('/');
    if (slash == std::string_view::npos) return depth == 0 ? std::optional(path) : std::nullopt;
    if (depth == 0 || path.find('/', slash + 1) != std::string_view::npos) return std::nullopt;
    return path.substr(slash + 1);
  }

  std::optional<std::size_t> Place(const std::string& foldedName) const {
    bool indexed = false;
    {
      std::lock_guard lock(mutex_);
      if (passes_ < kPassesBeforeIndex) {
        ++passes_;
      } else if (!indexed_) {
        BuildIndex();
        indexed_ = true;
      }
      indexed = indexed_;
    }
    // Once built, the index is only read.
    if (indexed) {
      const auto found = byName_.find(foldedName);
      return found == byName_.end() ? std::nullopt : std::optional(found->second);
    }
    const std::vector<ArchiveMember>& members = reader_.Members();
    for (const int depth : {0, 1}) {
      for (std::size_t i = 0; i < members.size(); ++i) {
        const auto name = NameAtDepth(members[i].path, depth);
        if (name && name->size() == foldedName.size() && LowerCase(*name) == foldedName) return i;
      }
    }
    return std::nullopt;
  }

  void BuildIndex() const {
    const std::vector<ArchiveMember>& members = reader_.Members();
    byName_.reserve(members.size());
    for (const int depth : {0, 1}) {
      for (std::size_t i = 0; i < members.size(); ++i) {
        if (const auto name = NameAtDepth(members[i].path, depth)) byName_.emplace(LowerCase(*name), i);
      }
    }
  }

  ArchiveReader reader_;
  mutable std::mutex mutex_;
  mutable int passes_ = 0;
  mutable bool indexed_ = false;
  mutable std::unordered_map<std::string, std::size_t> byName_;  // the member's place in the archive, once built
};

// Every archive is listed once per run, and again when it changes; an archive
// that cannot be read keeps its error number until it changes. Runs over a
// whole collection share the listings between threads.
class ArchiveListings {
 public:
  std::shared_ptr<const ArchiveListing> Get(const fs::path& archive) {
    std::error_code error;
    const auto stamp = fs::last_write_time(archive, error);
    const auto size = error ? 0 : fs::file_size(archive, error);
    if (error) throw RunTimeError(ErrorCode::FileNotFound);
    std::lock_guard lock(mutex_);
    Entry& entry = archives_[archive.native()];
    if (!entry.listed || entry.stamp != stamp || entry.size != size) {
      entry = Entry{true, stamp, size, nullptr, 0};
      try {
        entry.listing = std::make_shared<const ArchiveListing>(archive);
      } catch (const std::exception& failure) {
        entry.failure = ErrorNumberOf(failure);
      }
    }
    if (!entry.listing) throw RunTimeError(static_cast<ErrorCode>(entry.failure));
    return entry.listing;
  }

 private:
  struct Entry {
    bool listed = false;
    fs::file_time_type stamp;
    std::uintmax_t size = 0;
    std::shared_ptr<const ArchiveListing> listing;
    int failure = 0;
  };
  std::mutex mutex_;
  std::unordered_map<std::string, Entry> archives_;
};

ArchiveListings& Listings() {
  static ArchiveListings listings;
  return listings;
}

// Where the configured folder ends and the member's path begins.
std::size_t MemberMark(std::string_view picture) {
  const std::size_t lastFolder = picture.rfind('\\');
  return picture.find(kMemberMark, lastFolder == std::string_view::npos ? 0 : lastFolder);
}

}  // namespace

std::optional<std::string> ArchiveOfFolder(std::string_view folder) {
  std::string base(folder);
  while (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  if (base.empty()) return std::nullopt;
  if (HasArchiveExtension(fs::path(base)) && FileExists(base)) return base;
  for (const char* extension : {".zip", ".7z"}) {
    if (FileExists(base + extension)) return base + extension;
  }
  return std::nullopt;
}

std::string FindArchivePicture(SharedState& state, std::string_view folder, std::string_view name) {
  try {
    const auto archive = ArchiveOfFolder(folder);
    if (!archive) return {};
    const auto listing = Listings().Get(ResolvePath(*archive));
    for (const char* extension : {".png", ".jpg", ".gif"}) {
      if (const std::string* member = listing->Find(LowerCase(std::string(name) + extension))) {
        return std::string(folder) + kMemberMark + *member;
      }
    }
  } catch (const std::exception& failure) {
    LogError(state, 'F', ErrorNumberOf(failure));
  }
  return {};
}

bool IsArchivePicture(std::string_view picture) { return MemberMark(picture) != std::string_view::npos; }

std::string ReadArchivePicture(std::string_view picture, std::stop_token stop) {
  const std::size_t mark = MemberMark(picture);
  if (mark == std::string_view::npos) throw RunTimeError(ErrorCode::FileNotFound);
  const auto archive = ArchiveOfFolder(picture.substr(0, mark));
  if (!archive) throw RunTimeError(ErrorCode::FileNotFound);
  return Listings().Get(ResolvePath(*archive))->Read(picture.substr(mark + 1), std::move(stop));
}

std::optional<std::string> ReadArchivePicture(std::string_view picture, const std::function<bool()>& keepWaiting) {
  if (!keepWaiting) return ReadArchivePicture(picture);
  std::promise<std::string> bytes;
  std::future<std::string> arrival = bytes.get_future();
  // Joined when this function returns, which a stop request makes quick.
  std::jthread reader([&bytes, picture = std::string(picture)](std::stop_token stop) {
    try {
      bytes.set_value(ReadArchivePicture(picture, stop));
    } catch (...) {
      bytes.set_exception(std::current_exception());
    }
  });
  while (arrival.wait_for(kWaitingTurn) != std::future_status::ready) {
    if (!keepWaiting()) {
      reader.request_stop();
      return std::nullopt;
    }
  }
  return arrival.get();
}

}  // namespace zorv
