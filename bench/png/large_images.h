#pragma once
// Large images written with libpng at start-up: 1920 x 1080 RGB and RGBA and
// 4000 x 3000 palette, each interlaced and not.
#include <filesystem>
#include <string>
#include <vector>

namespace zorv::bench {

struct LargeImage {
  std::string name;
  std::string path;
};

std::vector<LargeImage> WriteLargeImages(const std::filesystem::path& folder);

}  // namespace zorv::bench
