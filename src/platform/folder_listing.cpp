#include "platform/folder_listing.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

std::optional<fs::file_time_type> StampOf(const fs::path& folder) {
  std::error_code error;
  const auto stamp = fs::last_write_time(folder, error);
  if (error) return std::nullopt;
  return stamp;
}

// One folder's names: every spelling of each folded name (a folder on a
// case-sensitive system may hold "a" and "A").
struct Listing {
  fs::file_time_type stamp;
  std::unordered_map<std::string, std::vector<std::string>> names;

  void Add(const std::string& name) {
    auto& spellings = names[LowerCase(name)];
    if (std::find(spellings.begin(), spellings.end(), name) == spellings.end()) spellings.push_back(name);
  }
  void Remove(const std::string& name) {
    const auto found = names.find(LowerCase(name));
    if (found == names.end()) return;
    std::erase(found->second, name);
    if (found->second.empty()) names.erase(found);
  }
};

Listing ListFolder(const fs::path& folder, fs::file_time_type stamp) {
  Listing listing;
  listing.stamp = stamp;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    listing.Add(it->path().filename().native());
  }
  return listing;
}

// The listings of every folder looked into. A folder is read while no lock is
// held, so threads looking into other folders never wait for it; looking a
// name up and applying a change are quick and done under the lock.
class Listings {
 public:
  std::optional<std::string> Find(const fs::path& folder, const std::string& foldedName) {
    const auto stamp = StampOf(folder);
    if (!stamp) return std::nullopt;
    {
      std::shared_lock lock(mutex_);
      const auto kept = listings_.find(folder.native());
      if (kept != listings_.end() && kept->second.stamp == *stamp) return Lookup(kept->second, foldedName);
    }
    Listing fresh = ListFolder(folder, *stamp);
    std::lock_guard lock(mutex_);
    Listing& kept = listings_[folder.native()] = std::move(fresh);
    return Lookup(kept, foldedName);
  }

  void Apply(const fs::path& folder, fs::file_time_type before, const std::string& added, const std::string& removed) {
    const auto after = StampOf(folder);
    std::lock_guard lock(mutex_);
    const auto kept = listings_.find(folder.native());
    if (kept == listings_.end()) return;
    if (!after || kept->second.stamp != before) {
      listings_.erase(kept);
      return;
    }
    if (!removed.empty()) kept->second.Remove(removed);
    if (!added.empty()) kept->second.Add(added);
    kept->second.stamp = *after;
  }

 private:
  static std::optional<std::string> Lookup(const Listing& listing, const std::string& foldedName) {
    const auto found = listing.names.find(foldedName);
    if (found == listing.names.end()) return std::nullopt;
    return found->second.front();
  }

  std::shared_mutex mutex_;  // shared to look up, alone to list or change
  std::unordered_map<std::string, Listing> listings_;
};

Listings& SharedListings() {
  static Listings listings;
  return listings;
}

}  // namespace

std::optional<std::string> FindInFolder(const fs::path& folder, const std::string& foldedName) {
  return SharedListings().Find(folder, foldedName);
}

FolderChange::FolderChange(fs::path folder) : folder_(std::move(folder)), before_(StampOf(folder_)) {}

void FolderChange::Commit(std::string_view added, std::string_view removed) {
  if (before_) SharedListings().Apply(folder_, *before_, std::string(added), std::string(removed));
}

}  // namespace zorv
