#pragma once
// How many pictures of a category the viewer can find, for a person setting up
// or checking a collection: the folder's own .png, .jpg and .gif files, and
// those of the archive the folder stands for (at its root or one folder down).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// The viewer's picture categories in the user's words, by their number: 1 title
// screens ... 6 flyers (0 is no category).
inline constexpr std::array<std::string_view, 7> kPictureKinds = {
    "", "title screens", "snapshots", "marquees", "cabinets", "control panels", "flyers"};

struct PicturePlace {
  std::string Path;  // the folder as found on this system, or the archive
  bool IsArchive = false;
  std::size_t Pictures = 0;
  std::string Problem;  // why an archive could not be listed; empty when it could
};

// The folder, when it exists, then its archive, when there is one: where the
// viewer looks, in its order. Empty when there is neither.
std::vector<PicturePlace> PicturePlacesOf(std::string_view folder);

}  // namespace zorv
