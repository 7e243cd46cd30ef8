#pragma once
// The names in a folder by their spelling without regard to case, for the file
// layer's look-ups. A folder is listed once and again only when something else
// has changed it since: the creations, renames and deletions the file layer
// makes itself are applied to the listing it keeps, so saving many files into
// one folder costs the same for each, however many the folder holds.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorv {

// The spelling in `folder` (an existing folder) of the name whose ASCII lower
// case is `foldedName`; empty when there is none or the folder cannot be read.
std::optional<std::string> FindInFolder(const std::filesystem::path& folder, const std::string& foldedName);

// A change the file layer makes to one folder: made between construction and
// Commit, it creates `added` and removes `removed` (either may be empty). When
// the kept listing was current just before the change, the change is applied to
// it; otherwise the folder is listed again at its next look-up.
class FolderChange {
 public:
  explicit FolderChange(std::filesystem::path folder);
  void Commit(std::string_view added, std::string_view removed = {});

 private:
  std::filesystem::path folder_;
  std::optional<std::filesystem::file_time_type> before_;
};

}  // namespace zorv
