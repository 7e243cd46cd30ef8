#pragma once
// The games whose ROM set is present in the collector's ROM folders, as the
// emulator finds a set: a ".zip" or ".7z" file, or a folder, named after the
// game. Each folder is listed once; names are compared without regard to case,
// as the viewer's file layer does.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zorv::index {

class RomFolder {
 public:
  RomFolder() = default;
  // Error 75, with a message, when a folder does not exist or cannot be listed.
  explicit RomFolder(const std::vector<std::string>& windowsPaths);

  bool Has(std::string_view romName) const;
  std::size_t Size() const { return sets_.size(); }

 private:
  void List(std::string_view windowsPath);

  std::unordered_set<std::string> sets_;  // names folded to lower case, without extension
};

}  // namespace zorv::index
