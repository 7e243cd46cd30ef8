#include "startup/pictures.h"

#include <string>

#include "platform/file_system.h"

namespace zorv {

void FindPictures(SharedState& state) {
  for (std::size_t i = 1; i <= kPictureCategories; ++i) {
    std::string found;
    for (const char* extension : {".png", ".jpg", ".gif"}) {
      const std::string candidate = state.ImagePath[i] + state.RomName + extension;
      if (FileExists(candidate)) {
        found = candidate;
        break;
      }
    }
    state.ImagePath[i] = found;
  }
}

}  // namespace zorv
