#include "startup/pictures.h"

#include <string>

#include "platform/file_system.h"
#include "startup/picture_archives.h"

namespace zorv {
namespace {

// The first of folder + name + ".png", ".jpg", ".gif" that exists.
std::string FindPictureFile(const std::string& folder, const std::string& name) {
  for (const char* extension : {".png", ".jpg", ".gif"}) {
    std::string candidate = folder + name + extension;
    if (FileExists(candidate)) return candidate;
  }
  return {};
}

// The game's own picture file, else its picture in the folder's archive.
std::string FindPicture(SharedState& state, const std::string& folder, const std::string& name) {
  std::string found = FindPictureFile(folder, name);
  if (found.empty()) found = FindArchivePicture(state, folder, name);
  return found;
}

}  // namespace

void FindPictures(SharedState& state) {
  // A clone shows its parent's pictures where it has none of its own. The
  // parent is one level up only, so a game named as its own parent is no loop,
  // and a parent whose name could leave the folder is not followed.
  const bool hasParent =
      !state.CloneOf.empty() && state.CloneOf != state.RomName && IsNameOfOneFile(state.CloneOf);
  for (std::size_t i = 1; i <= kPictureCategories; ++i) {
    const std::string folder = state.ImagePath[i];
    std::string found = FindPicture(state, folder, state.RomName);
    if (found.empty() && hasParent) found = FindPicture(state, folder, state.CloneOf);
    state.ImagePath[i] = found;
  }
}

bool IsNameOfOneFile(std::string_view name) {
  return name.find_first_of("\\/:") == std::string_view::npos && name.find("..") == std::string_view::npos;
}

}  // namespace zorv
