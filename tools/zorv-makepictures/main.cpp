// zorv-makepictures OUTPUT_FOLDER ROM[=TITLE]...
// Draws the six pictures of each game and writes them under OUTPUT_FOLDER into
// titles/, snap/, marquees/, cabinets/, cpanel/ and flyers/, named after the ROM.
#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "artwork.h"
#include "jpeg_output.h"
#include "picture_formats.h"
#include "picture_plan.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace {

constexpr int kJpegQuality = 85;

void MakeGame(const std::filesystem::path& output, std::string_view argument) {
  using namespace zorv::pictures;
  const auto equals = argument.find('=');
  const std::string_view rom = argument.substr(0, equals);
  const std::string_view title = equals == std::string_view::npos ? std::string_view{} : argument.substr(equals + 1);
  const GameArt art = ArtFor(rom, title);
  for (const PlannedPicture& planned : PlanFor(rom)) {
    Canvas canvas = DrawPicture(art, planned.category, planned.width, planned.height);
    if (planned.roundCorners) canvas.RoundCorners(std::min(planned.width, planned.height) / 12.0);
    const auto bytes = planned.format == PictureFormat::Jpeg ? EncodeJpeg(canvas, kJpegQuality)
                                                             : EncodePicture(canvas, planned.format, art.title);
    const auto folder = output / FolderName(planned.category);
    std::filesystem::create_directories(folder);
    const auto file = folder / (std::string(rom) + std::string(Extension(planned.format)));
    zorv::WriteWholeFile(file.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    std::printf("%s (%zu bytes)\n", file.string().c_str(), bytes.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Qt finds its image-format plugins through the application object.
  QCoreApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: zorv-makepictures OUTPUT_FOLDER ROM[=TITLE]...\n");
    return 2;
  }
  try {
    for (int i = 2; i < argc; ++i) MakeGame(argv[1], argv[i]);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "zorv-makepictures: %s\n", failure.what());
    return 1;
  }
  return 0;
}
