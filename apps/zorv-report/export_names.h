#pragma once
// The names of an export's files. A page is named after its ROM name, as UTF-8,
// with the format's extension, but every name is told apart without regard to
// case, so that the export can be copied to a folder that ignores case: of
// names that differ only by case the first in the index keeps its name and the
// others get "~2", "~3" (gng.html, GNG~2.html). Reserved names (the index page)
// are never given; a name that would pass 255 bytes is shortened the same way.
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zorv {

// One name per ROM name (Windows-1252), a control character in it as "_"; an
// empty one for a name no file can have ("", ".", "..", or holding "/").
// `reserved`: base names, any case.
std::vector<std::string> PageFileNames(const std::vector<std::string>& romNames, std::string_view extension,
                                       std::span<const std::string_view> reserved = {});

// Names given once each, without regard to case, in a folder of an export.
class UniqueNames {
 public:
  // `wanted` (UTF-8, with its extension) when no name given so far differs from
  // it only by case, else `wanted` with "~2", "~3"... before its extension.
  std::string Take(const std::string& wanted);

 private:
  std::unordered_set<std::string> taken_;
};

}  // namespace zorv
