#include "startup/picture_census.h"

#include <algorithm>
#include <filesystem>

#include "platform/archive/archive_reader.h"
#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "startup/picture_archives.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

bool IsPictureName(std::string_view name) {
  const std::string lower = LowerCase(name);
  return lower.ends_with(".png") || lower.ends_with(".jpg") || lower.ends_with(".gif");
}

std::size_t PicturesInFolder(const fs::path& folder) {
  std::size_t count = 0;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (IsPictureName(it->path().filename().native()) && !it->is_directory(error)) ++count;
  }
  return count;
}

// Members the viewer finds: at the archive's root or one folder down.
std::size_t PicturesInArchive(const ArchiveReader& archive) {
  return static_cast<std::size_t>(std::count_if(archive.Members().begin(), archive.Members().end(), [](const auto& member) {
    return std::count(member.path.begin(), member.path.end(), '/') <= 1 && IsPictureName(member.path);
  }));
}

}  // namespace

std::vector<PicturePlace> PicturePlacesOf(std::string_view folder) {
  std::vector<PicturePlace> places;
  const fs::path resolved = ResolvePath(folder);
  std::error_code error;
  if (!folder.empty() && fs::is_directory(resolved, error)) {
    PicturePlace& place = places.emplace_back();
    place.Path = fs::absolute(resolved, error).string();
    place.Pictures = PicturesInFolder(resolved);
  }
  if (const auto archive = ArchiveOfFolder(folder)) {
    PicturePlace place;
    place.Path = fs::absolute(ResolvePath(*archive), error).string();
    place.IsArchive = true;
    try {
      place.Pictures = PicturesInArchive(ArchiveReader(place.Path));
    } catch (const std::exception& failure) {
      place.Problem = failure.what();
    }
    places.push_back(std::move(place));
  }
  return places;
}

}  // namespace zorv
