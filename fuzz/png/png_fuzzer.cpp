// The whole road of a PNG file: chunks, inflate, unfiltering, conversion,
// compositing and drawing, as the report window asks for it. The decoder reads
// files, so each input is written to a file of this process first. Failures
// with an error number are expected; crashes, leaks and undefined behaviour
// are findings.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "bitmap/cbitmap.h"
#include "platform/message_box.h"
#include "png/report_decode.h"

namespace {

class SilentMessages final : public zorv::MessageBox {
 public:
  void Show(std::string_view) override {}
};

const std::string& InputPath() {
  static const std::string path = "/tmp/zorv-png-fuzz-" + std::to_string(getpid()) + ".png";
  return path;
}

// Images of more than 16 million pixels decode legitimately (up to 1 GiB of
// buffers) but take minutes under the sanitizers; the tests and benchmarks
// cover them, the fuzzer skips them when the first chunk says so.
bool ClaimsHugeImage(const std::uint8_t* data, std::size_t size) {
  if (size < 24 || std::string_view(reinterpret_cast<const char*>(data) + 12, 4) != "IHDR") return false;
  const auto read32 = [data](std::size_t at) {
    return std::uint64_t{data[at]} << 24 | std::uint64_t{data[at + 1]} << 16 | std::uint64_t{data[at + 2]} << 8 |
           std::uint64_t{data[at + 3]};
  };
  return read32(16) * read32(20) > (std::uint64_t{1} << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const zorv::ScreenMetrics screen;
  static zorv::bitmap::CBitmap bitmaps(screen);
  static SilentMessages messages;
  if (ClaimsHugeImage(data, size)) return 0;
  if (std::FILE* file = std::fopen(InputPath().c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  zorv::png::LoadPNG decoder(bitmaps, messages);
  zorv::PictureBox box(screen);
  zorv::PlainColourPicture background(zorv::MakeColour(0x33, 0x66, 0x99));
  try {
    zorv::png::SetUpForReport(decoder, box, background).OpenPNG(InputPath());
    // A second file on the same object: state kept across calls.
    decoder.SetAlpha(false);
    decoder.SetTrans(false);
    decoder.OpenPNG(InputPath());
  } catch (const std::exception&) {
    // Reported through the error number; nothing to do here.
  }
  return 0;
}
