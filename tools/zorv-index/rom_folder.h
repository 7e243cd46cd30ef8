#pragma once
// The games whose ROM set is present in the collector's ROM folder, as a
// ".zip" or ".7z" file named after the game. The folder is listed once;
// names are compared without regard to case, as the viewer's file layer does.
#include <string>
#include <string_view>
#include <unordered_set>

namespace zorv::index {

class RomFolder {
 public:
  RomFolder() = default;
  // Error 75, with a message, when the folder does not exist or cannot be listed.
  explicit RomFolder(std::string_view windowsPath);

  bool Has(std::string_view romName) const;
  std::size_t Size() const { return sets_.size(); }

 private:
  std::unordered_set<std::string> sets_;  // names folded to lower case, without extension
};

}  // namespace zorv::index
