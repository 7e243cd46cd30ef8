// The decode pipeline: which stages run for which header, from the collected
// image data to a device bitmap drawn into the picture box.
#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "platform/image.h"
#include "platform/run_time_error.h"
#include "png/composite.h"
#include "png/deinterlace.h"
#include "png/load_png.h"
#include "png/pixel_conversion.h"
#include "png/transparency.h"
#include "png/unfilter.h"
#include "png/working_size.h"

namespace zorv::png {
namespace {

bool IsOneOf(std::int64_t value, std::initializer_list<std::int64_t> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// Turns one raw row (y from the top) of 8-bit samples into device colours.
using ColourConversion = std::function<void(std::int64_t y, const std::uint8_t* row, std::uint32_t* out)>;

// The rows of an 8-bit RGB or RGBA image (still filtered, or interlaced) as a
// picture in device colours: each row is converted as soon as it is raw, while
// it is in the cache, and appended, so that the picture is written once.
Image RowsToColours(ByteBuffer& work, const PixelFormat& format, bool interlaced, const ColourConversion& convert) {
  const auto width = static_cast<std::size_t>(format.width);
  Image picture;
  picture.width = static_cast<std::int32_t>(format.width);
  picture.height = static_cast<std::int32_t>(format.height);
  picture.pixels.reserve(width * static_cast<std::size_t>(format.height));
  std::vector<std::uint32_t> converted(width);
  std::int64_t y = 0;
  const auto append = [&](std::span<std::uint8_t> row) {
    convert(y++, row.data(), converted.data());
    picture.pixels.insert(picture.pixels.end(), converted.begin(), converted.end());
  };
  if (!interlaced) {
    Unfilter(work, format, append);
    return picture;
  }
  work = Deinterlace(work, format);
  const auto rowLength = static_cast<std::size_t>(ScanlineLength(format) - 1);
  if (work.size() < rowLength * static_cast<std::size_t>(format.height)) {
    throw RunTimeError(ErrorCode::SubscriptOutOfRange, "rows missing");
  }
  for (std::int64_t row = 0; row < format.height; ++row) {
    append({work.data() + static_cast<std::size_t>(row) * rowLength, rowLength});
  }
  return picture;
}

// The rows of an 8-bit RGBA image (still filtered, or interlaced) blended onto
// what lies behind them, as a picture in device colours. Each row is blended
// in place as soon as it is raw, while it is in the cache; the capture of the
// background is released before the picture is made from the blended rows, so
// that no more than two buffers the size of the picture are held at a time.
Image BlendedRgbaRows(ByteBuffer& work, const PixelFormat& format, bool interlaced, const Backdrop& backdrop) {
  const auto width = static_cast<std::size_t>(format.width);
  const auto height = static_cast<std::size_t>(format.height);
  const std::size_t rowLength = 4 * width;
  std::vector<std::uint32_t> row(width);
  {
    if (interlaced) {
      work = Deinterlace(work, format);
      if (work.size() < rowLength * height) throw RunTimeError(ErrorCode::SubscriptOutOfRange, "rows missing");
    }
    const BackgroundRows background(backdrop, format.width, format.height);
    std::size_t y = 0;
    const auto blendInPlace = [&](std::span<std::uint8_t> raw) {
      BlendRgbaRowToColours(raw.data(), background.Row(static_cast<std::int64_t>(y++)), width, row.data());
      std::memcpy(raw.data(), row.data(), rowLength);
    };
    if (interlaced) {
      for (std::size_t r = 0; r < height; ++r) blendInPlace({work.data() + r * rowLength, rowLength});
    } else {
      Unfilter(work, format, blendInPlace);
    }
  }
  Image picture;
  picture.width = static_cast<std::int32_t>(format.width);
  picture.height = static_cast<std::int32_t>(format.height);
  picture.pixels.reserve(width * height);
  for (std::size_t y = 0; y < height; ++y) {
    std::memcpy(row.data(), work.data() + y * rowLength, rowLength);
    picture.pixels.insert(picture.pixels.end(), row.begin(), row.end());
  }
  return picture;
}

}  // namespace

void LoadPNG::DecodeImage() {
  haveAlpha_ = false;
  bool rowsTopDown = true;
  const std::int64_t width = header_.width;
  const std::int64_t height = header_.height;
  const std::int64_t depth = header_.bitDepth;
  const std::int64_t colourType = header_.colourType;
  const bool interlaced = header_.interlacing == 1;
  PixelFormat format{width, height, depth, colourType, outBitsPerPixel_};

  // A header that claims more than the decoder will hold fails before anything
  // is allocated for it.
  const std::optional<std::int64_t> inflatedSize = InflatedSizeWithinLimit(format, header_.interlacing);
  if (!inflatedSize) throw RunTimeError(ErrorCode::OutOfMemory, "image too large");

  // The two zlib header bytes are dropped unread.
  const std::size_t streamStart = std::min<std::size_t>(2, static_cast<std::size_t>(idatLength_));
  const std::span<const std::uint8_t> stream(idatBuffer_.data() + streamStart,
                                             static_cast<std::size_t>(idatLength_) - streamStart);
  // Image data that could never fill the rows its header promises (a few
  // hundred kilobytes claiming a gigabyte) is refused before any work is
  // done for it: only a stream cut short, read on as zero bits, could.
  if (header_.compression == 0 && *inflatedSize > LongestInflation(static_cast<std::int64_t>(stream.size()))) {
    throw RunTimeError(ErrorCode::OutOfMemory, "image data far shorter than its header");
  }
  ByteBuffer work;
  if (header_.compression == 0) {
    inflater_.Inflate(stream, work, static_cast<std::int32_t>(*inflatedSize), false);
  } else {
    work.assign(stream.begin(), stream.end());
  }
  std::vector<std::uint8_t>().swap(idatBuffer_);
  // The common 8-bit true-colour images go from their rows straight to device
  // colours: RGB as it is, RGBA blended onto what lies behind it.
  const bool directRgb = colourType == kRgb && !(haveTransparence_ && setTrans_);
  // (Whole rows of surplus data would come first once RGBA rows are turned
  // bottom row first: such data keeps the general path, and so do rows too few,
  // which fail before the background is looked at.)
  const std::int64_t rgbaStored = height * (4 * width + 1);
  const bool directRgba = colourType == kRgbAlpha && setAlpha_ &&
                          (interlaced || (static_cast<std::int64_t>(work.size()) >= rgbaStored &&
                                          static_cast<std::int64_t>(work.size()) < rgbaStored + 4 * width));
  if ((directRgb || directRgba) && depth == 8 && (header_.interlacing == 0 || interlaced) &&
      width * height <= bitmap::kLargestBitmapPixels) {
    Image picture;
    if (directRgb) {
      const auto pixelsPerRow = static_cast<std::size_t>(width);
      picture = RowsToColours(work, format, interlaced, [&](std::int64_t, const std::uint8_t* row, std::uint32_t* out) {
        RgbRowToColours(row, pixelsPerRow, out);
      });
    } else {
      haveAlpha_ = true;
      picture = BlendedRgbaRows(
          work, format, interlaced,
          Backdrop{backgroundPicture_, backColor_ != 0 ? backColor_ : bkgdColor_, x_, y_, bitmaps_->Screen()});
    }
    ByteBuffer().swap(work);
    outBitsPerPixel_ = 24;
    // Blended rows are described bottom row first, as the composited rows are.
    bitmaps_->TakeBitmapTrue(std::move(picture), directRgb);
    bitmaps_->DrawToPicBox(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), picBox_, true, x_, y_,
                           setToBG_);
    return;
  }
  // 8-bit RGB rows take their blue-first byte order in the unfiltering pass.
  const bool swapWhileUnfiltering = colourType == kRgb && depth == 8 && header_.interlacing == 0;
  if (header_.interlacing == 0) {
    Unfilter(work, format, swapWhileUnfiltering ? RowConversion(RgbRowToBgr) : RowConversion());
  } else if (interlaced) {
    work = Deinterlace(work, format);
  }

  const auto setOutBitsPerPixel = [&](std::int64_t bits) { format.outBitsPerPixel = outBitsPerPixel_ = bits; };
  const auto greyTable = [&](int tableDepth, bool narrowRowsAsBytes) {
    bitmaps_->GreyRamp(tableDepth, narrowRowsAsBytes);
  };
  std::int64_t outBitCount = depth;
  bool converted = true;
  switch (colourType) {
    case kGrey:
      if (IsOneOf(depth, {1, 4, 8}) && !interlaced) {
        greyTable(static_cast<int>(depth), false);
        PadRows(depth, work, format);
      } else if (IsOneOf(depth, {1, 4, 8}) && interlaced) {
        greyTable(static_cast<int>(depth), true);
        setOutBitsPerPixel(8);
        PadRows(8, work, format);
        outBitCount = 8;
      } else if (depth == 2 && !interlaced) {
        greyTable(2, false);
        Unpack2Bit(width, height, work, ScanlineLength(format));
        setOutBitsPerPixel(8);
        outBitCount = 8;
      } else if (depth == 2) {
        greyTable(2, false);
        setOutBitsPerPixel(8);
        PadRows(8, work, format);
        outBitCount = 8;
      } else if (depth == 16) {
        Reduce16To8(work);
        greyTable(8, false);
        setOutBitsPerPixel(8);
        PadRows(8, work, format);
        outBitCount = 8;
      } else {
        converted = false;
      }
      break;
    case kRgb:
      if (depth == 16) Reduce16To8(work);
      if (!swapWhileUnfiltering) RgbToBgr(work);
      setOutBitsPerPixel(8);
      PadRows(24, work, format);
      setOutBitsPerPixel(24);
      rowsTopDown = true;
      outBitCount = 24;
      break;
    case kPalette:
      if (IsOneOf(depth, {1, 4, 8}) && !interlaced) {
        PadRows(depth, work, format);
      } else if (IsOneOf(depth, {1, 2, 4, 8}) && interlaced) {
        setOutBitsPerPixel(8);
        PadRows(8, work, format);
        outBitCount = 8;
      } else if (depth == 2) {
        Unpack2Bit(width, height, work, ScanlineLength(format));
        setOutBitsPerPixel(8);
        outBitCount = 8;
      } else {
        converted = false;
      }
      break;
    case kGreyAlpha:
    case kRgbAlpha:
      haveAlpha_ = true;
      if (depth == 16) Reduce16To8(work);
      if (colourType == kGreyAlpha) GreyAlphaToBgra(work);
      setOutBitsPerPixel(32);
      if (colourType == kRgbAlpha) {
        RgbaToBgraFlipped(work, width);  // RgbaToBgra, then FlipRows
      } else {
        FlipRows(work, 4 * width);
      }
      rowsTopDown = false;
      outBitCount = 32;
      break;
    default:
      converted = false;
      break;
  }
  // A header the decoder does not know draws nothing and reports nothing.
  if (!converted) return;

  Backdrop backdrop{backgroundPicture_, backColor_ != 0 ? backColor_ : bkgdColor_, x_, y_,
                    bitmaps_->Screen()};
  const auto compositeAsBottomUpBgra = [&] {
    setOutBitsPerPixel(32);
    FlipRows(work, 4 * width);
    rowsTopDown = false;
    CompositeOnBackground(backdrop, work, width, height);
    setOutBitsPerPixel(24);
    outBitCount = 24;
  };
  if ((colourType == kGrey || colourType == kPalette) && haveTransparence_ && setTrans_) {
    if (colourType == kGrey) {
      palette_ = bitmaps_->GreyRamp(static_cast<int>(depth), false);
      trnsData_ = GreyAlphaTable(trnsData_, palette_.size() / 3);
    }
    IndexedToBgra(width, height, outBitCount, work, palette_, trnsData_);
    compositeAsBottomUpBgra();
  } else if (colourType == kRgb && haveTransparence_ && setTrans_) {
    RgbKeyToBgra(width, height, work, RgbTransparentKey(trnsData_, depth));
    compositeAsBottomUpBgra();
  } else if ((colourType == kGreyAlpha || colourType == kRgbAlpha) && setAlpha_) {
    CompositeOnBackground(backdrop, work, width, height);
    setOutBitsPerPixel(24);
    outBitCount = 24;
  }

  const auto w = static_cast<std::int32_t>(width);
  const auto h = static_cast<std::int32_t>(height);
  switch (outBitCount) {
    case 1:
      if (colourType == kPalette) {
        bitmaps_->SetMonoPalette(palette_);
      } else {
        bitmaps_->SetMonoColours(1);
      }
      bitmaps_->CreateBitmap1(work, w, h, true);
      break;
    case 4:
      if (colourType == kPalette) bitmaps_->SetPalette16(palette_);
      bitmaps_->CreateBitmap4(work, w, h, true);
      break;
    case 8:
      if (colourType == kPalette) bitmaps_->SetPalette256(palette_);
      bitmaps_->CreateBitmap8(work, w, h, true);
      break;
    case 24: bitmaps_->CreateBitmapTrue(work, w, h, rowsTopDown, 1); break;
    case 32: bitmaps_->CreateBitmapTrue(work, w, h, rowsTopDown, 0); break;
    default: return;
  }
  // The rows are in the bitmap now; they go before the box is drawn.
  ByteBuffer().swap(work);
  bitmaps_->DrawToPicBox(w, h, picBox_, true, x_, y_, setToBG_);
}

}  // namespace zorv::png
