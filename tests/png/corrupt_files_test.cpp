// Broken files end with an error number or a trapped failure, or are drawn as
// far as the lenient reader goes; none of them crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"
#include "png/report_decode.h"

namespace zorv::png {
namespace {

namespace fs = std::filesystem;

enum class Result { ErrorNumber, Failure, Drawn, BoxOnly, NothingDrawn };

struct Expected {
  Result result;
  int number;  // the ErrorNumber or the failure's number
  const char* why;
};

constexpr const char* kChunkTooLong = "a chunk claims more bytes than the file holds";
constexpr Expected kTooLong{Result::ErrorNumber, 3, kChunkTooLong};

const std::map<std::string, Expected> kCorruptFiles = {
    {"pngsuite/xc1n0g08.png", {Result::NothingDrawn, 0, "colour type 1 is outside the conversion table"}},
    {"pngsuite/xc9n2c08.png", {Result::NothingDrawn, 0, "colour type 9 is outside the conversion table"}},
    {"pngsuite/xcrn0g04.png", {Result::ErrorNumber, 1, "line endings changed inside the signature"}},
    {"pngsuite/xcsn0g01.png", {Result::Drawn, 0, "a wrong IDAT CRC: CRCs are never checked"}},
    {"pngsuite/xd0n2c08.png", {Result::BoxOnly, 0, "bit depth 0: RGB rows taken as 8-bit are missing, no bitmap"}},
    {"pngsuite/xd3n2c08.png", {Result::BoxOnly, 0, "bit depth 3: RGB rows taken as 8-bit are missing, no bitmap"}},
    {"pngsuite/xd9n2c08.png", {Result::Failure, 9, "bit depth 99: fewer rows than the header claims"}},
    {"pngsuite/xdtn0g01.png", {Result::ErrorNumber, 4, "no IDAT chunk"}},
    {"pngsuite/xhdn0g08.png", {Result::Drawn, 0, "a wrong IHDR CRC: CRCs are never checked"}},
    {"pngsuite/xlfn0g04.png", {Result::ErrorNumber, 1, "line feeds changed inside the signature"}},
    {"pngsuite/xs1n0g01.png", {Result::ErrorNumber, 1, "signature byte 1 wrong"}},
    {"pngsuite/xs2n0g01.png", {Result::ErrorNumber, 1, "signature byte 2 wrong"}},
    {"pngsuite/xs4n0g01.png", {Result::ErrorNumber, 1, "signature byte 4 wrong"}},
    {"pngsuite/xs7n0g01.png", {Result::ErrorNumber, 1, "signature byte 7 wrong"}},
    {"png-extra/corrupt/libpng-crashers-bad_iCCP.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-badadler.png", {Result::Drawn, 0, "the Adler-32 is never read"}},
    {"png-extra/corrupt/libpng-crashers-badcrc.png", {Result::Drawn, 0, "CRCs are never checked"}},
    {"png-extra/corrupt/libpng-crashers-huge_IDAT.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_bKGD_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_cHRM_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_eXIf_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_gAMA_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_hIST_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_iCCP_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_iTXt_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_juNK_unsafe_to_copy.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_juNk_safe_to_copy.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_pCAL_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_pHYs_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_sCAL_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_sPLT_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_sRGB_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_sTER_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_tEXt_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_tIME_chunk.png", kTooLong},
    {"png-extra/corrupt/libpng-crashers-huge_zTXt_chunk.png", kTooLong},
    {"png-extra/corrupt/x_consecutive_idat.png", {Result::Drawn, 0, "IDAT chunks apart: all image data is joined"}},
    {"png-extra/corrupt/x_ihdr_missing.png", kTooLong},
    {"png-extra/corrupt/x_image-issue1075.png", {Result::ErrorNumber, 4, "IEND before any image data"}},
    {"png-extra/corrupt/x_interlaced_chck.png", {Result::Drawn, 0, "a wrong CRC: CRCs are never checked"}},
    {"png-extra/corrupt/x_issue214.png", kTooLong},
    {"png-extra/corrupt/x_issue230.0.png", kTooLong},
    {"png-extra/corrupt/x_issue230.1.png", kTooLong},
    {"png-extra/corrupt/x_unexpected_eof.png", {Result::ErrorNumber, 3, "the file ends without IEND"}},
};

class SilentMessages final : public MessageBox {
 public:
  void Show(std::string_view) override {}
};

TEST(CorruptFiles, EveryOneEndsAsListed) {
  const ScreenMetrics screen;
  bitmap::CBitmap bitmaps(screen);
  std::size_t listed = 0;
  for (const fs::path& folder : {fs::path("pngsuite"), fs::path("png-extra/corrupt")}) {
    for (const auto& entry : fs::directory_iterator(fs::path(ZORV_TEST_DATA_DIR) / folder)) {
      const std::string name = (folder / entry.path().filename()).string();
      if (entry.path().filename().string()[0] != 'x' && folder == "pngsuite") continue;
      const auto expected = kCorruptFiles.find(name);
      ASSERT_NE(expected, kCorruptFiles.end()) << name << " is not listed";
      ++listed;

      SilentMessages messages;
      LoadPNG decoder(bitmaps, messages);
      PictureBox box(screen);
      PlainColourPicture background(0);
      Result result = Result::NothingDrawn;
      int number = 0;
      try {
        DecodeForReport(decoder, box, background, entry.path().string());
        if (decoder.ErrorNumber() != 0) {
          result = Result::ErrorNumber;
          number = decoder.ErrorNumber();
        } else if (!box.Picture().Empty()) {
          result = bitmaps.LastDrawCopiedBitmap() ? Result::Drawn : Result::BoxOnly;
        }
      } catch (const std::exception& failure) {
        result = Result::Failure;
        number = ErrorNumberOf(failure);
      }
      EXPECT_EQ(static_cast<int>(result), static_cast<int>(expected->second.result)) << name << ": " << expected->second.why;
      EXPECT_EQ(number, expected->second.number) << name << ": " << expected->second.why;
    }
  }
  EXPECT_EQ(listed, kCorruptFiles.size());
}

}  // namespace
}  // namespace zorv::png
