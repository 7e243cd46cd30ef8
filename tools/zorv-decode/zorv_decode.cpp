// zorv-decode: the viewer's PNG decoder from the command line.
#include <cstdio>
#include <iostream>
#include <string>

#include "bitmap/cbitmap.h"
#include "decode_options.h"
#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "png/report_decode.h"
#include "program_front.h"
#include "program_version.h"

namespace zorv {
namespace {

struct Outcome {
  bool drawn = false;
  std::string failure;  // why nothing was drawn
};

Outcome Decode(png::LoadPNG& decoder, const bitmap::CBitmap& bitmaps, PictureBox& box, PictureObject& background,
               const std::string& path) {
  const std::int32_t errorBefore = decoder.ErrorNumber();
  box.SetPicture(Image{});
  try {
    png::SetUpForReport(decoder, box, background).OpenPNG(path);
  } catch (const std::exception& failure) {
    return {false, "run-time error " + std::to_string(ErrorNumberOf(failure)) + ": " + failure.what()};
  }
  if (decoder.ErrorNumber() != errorBefore) return {false, "ErrorNumber " + std::to_string(decoder.ErrorNumber())};
  if (box.Picture().Empty()) return {false, "nothing drawn (a header the decoder does not draw)"};
  if (!bitmaps.LastDrawCopiedBitmap()) return {false, "no bitmap: the box was only cleared and sized"};
  return {true, {}};
}

std::string PpmOf(const Image& picture) {
  std::string ppm = "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
  ppm.reserve(ppm.size() + 3 * picture.pixels.size());
  for (const std::uint32_t pixel : picture.pixels) {
    ppm.push_back(static_cast<char>(pixel >> 16));
    ppm.push_back(static_cast<char>(pixel >> 8));
    ppm.push_back(static_cast<char>(pixel));
  }
  return ppm;
}

// Texts hold NUL separators; they are shown as "\0".
std::string Printable(const std::string& text) {
  std::string shown;
  for (const char c : text) shown += c == '\0' ? std::string("\\0") : std::string(1, c);
  return Cp1252ToUtf8(shown);
}

void PrintInfo(const png::LoadPNG& decoder) {
  std::cout << "Width " << decoder.Width() << "\nHeight " << decoder.Height() << "\nBitdepht " << decoder.Bitdepht()
            << "\nColorType " << decoder.ColorType() << "\nCompression " << decoder.Compression() << "\nFilter "
            << decoder.Filter() << "\nInterlacing " << decoder.Interlacing() << "\nErrorNumber "
            << decoder.ErrorNumber() << "\nText " << Printable(decoder.Text()) << "\nzText "
            << Printable(decoder.zText()) << "\nModiTime " << decoder.ModiTime() << "\ngama " << decoder.gama()
            << "\n";
}

int Run(const DecodeOptions& options) {
  const ScreenMetrics screen;
  bitmap::CBitmap bitmaps(screen);
  png::LoadPNG decoder(bitmaps);
  PictureBox box(screen);
  PlainColourPicture background(options.Background);

  if (options.Mode == DecodeMode::Null) {
    int status = 0;
    for (const std::string& file : options.Files) {
      for (long i = 0; i < options.Repeat; ++i) {
        if (const Outcome outcome = Decode(decoder, bitmaps, box, background, file); !outcome.drawn) {
          std::cerr << file << ": " << outcome.failure << "\n";
          status = 1;
          break;
        }
      }
    }
    return status;
  }

  const Outcome outcome = Decode(decoder, bitmaps, box, background, options.Files[0]);
  if (options.Mode == DecodeMode::Info) PrintInfo(decoder);
  if (!outcome.drawn) {
    std::cerr << options.Files[0] << ": " << outcome.failure << "\n";
    return 1;
  }
  if (options.Mode == DecodeMode::Picture) WriteWholeFile(options.Files[1], PpmOf(box.Picture()));
  return 0;
}

}  // namespace
}  // namespace zorv

int main(int argc, char** argv) {
  const std::string program = zorv::ProgramName(argc > 0 ? argv[0] : nullptr, "zorv-decode");
  const auto options = zorv::ParseDecodeOptions(argc, argv, program);
  if (!options) return zorv::kExitUsage;
  if (options->Help) {
    zorv::PrintDecodeHelp();
    return 0;
  }
  if (options->Version) {
    std::cout << zorv::VersionText("zorv-decode");
    return 0;
  }
  try {
    return zorv::Run(*options);
  } catch (const std::exception& failure) {
    return zorv::Failure(program, failure.what());
  }
}
