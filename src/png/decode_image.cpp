// The decode pipeline: which stages run for which header, from the collected
// image data to a device bitmap drawn into the picture box.
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/image.h"
#include "platform/run_time_error.h"
#include "png/composite.h"
#include "png/deinterlace.h"
#include "png/load_png.h"
#include "png/picture_rows.h"
#include "png/pixel_conversion.h"
#include "png/transparency.h"
#include "png/unfilter.h"
#include "png/working_size.h"

namespace zorv::png {
namespace {

bool IsOneOf(std::int64_t value, std::initializer_list<std::int64_t> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// Turns one raw row of 8-bit samples into a row of device colours.
using ColourConversion = std::function<void(const std::uint8_t* row, std::uint32_t* out)>;
// Asked once nothing can keep the picture from being drawn: the storage of the
// picture it replaces, or none.
using ReplacedStorage = std::function<std::vector<std::uint32_t>()>;

// The rows of an 8-bit RGB or RGBA image (still filtered, or interlaced) as a
// picture in device colours: each row is converted as soon as it is raw, while
// it is in the cache, so that the picture is written once.
Image RowsToColours(ByteBuffer& work, const PixelFormat& format, bool interlaced, const ReplacedStorage& storage,
                    const ColourConversion& convert) {
  std::optional<PictureRows> picture;
  const auto append = [&](std::span<std::uint8_t> row) {
    // Rows come only once the data is known to hold all of them.
    if (!picture) picture.emplace(format.width, format.height, storage());
    picture->Append([&](std::uint32_t* out) { convert(row.data(), out); });
  };
  if (!interlaced) {
    Unfilter(work, format, append);
  } else {
    work = Deinterlace(work, format);
    const auto rowLength = static_cast<std::size_t>(ScanlineLength(format) - 1);
    if (work.size() < rowLength * static_cast<std::size_t>(format.height)) {
      throw RunTimeError(ErrorCode::SubscriptOutOfRange, "rows missing");
    }
    for (std::int64_t row = 0; row < format.height; ++row) {
      append({work.data() + static_cast<std::size_t>(row) * rowLength, rowLength});
    }
  }
  if (!picture) picture.emplace(format.width, format.height, std::vector<std::uint32_t>{});
  return std::move(*picture).Take();
}

// The rows of an 8-bit RGBA image (still filtered, or interlaced) blended onto
// what lies behind them, as a picture in device colours. Each row is blended as
// soon as it is raw, while it is in the cache: onto the captured background in
// place, which then is the picture, or, without a capture, straight into the
// picture. Either way the picture takes the memory of the one it replaces, no
// more than two buffers the size of the picture are held at a time, and each
// pixel of the picture is written once.
Image BlendedRgbaRows(ByteBuffer& work, const PixelFormat& format, bool interlaced, const Backdrop& backdrop,
                      const ReplacedStorage& storage) {
  const auto width = static_cast<std::size_t>(format.width);
  const auto height = static_cast<std::size_t>(format.height);
  const std::size_t rowLength = 4 * width;
  if (interlaced) {
    work = Deinterlace(work, format);
    if (work.size() < rowLength * height) throw RunTimeError(ErrorCode::SubscriptOutOfRange, "rows missing");
  }
  const auto forEachRawRow = [&](const RowConversion& blend) {
    if (interlaced) {
      for (std::size_t r = 0; r < height; ++r) blend({work.data() + r * rowLength, rowLength});
    } else {
      Unfilter(work, format, blend);
    }
  };
  std::optional<BackgroundRows> background;
  std::optional<PictureRows> picture;  // without a capture to blend onto
  const auto lookBehind = [&] {
    std::vector<std::uint32_t> memory = storage();
    background.emplace(backdrop, format.width, format.height, &memory);
    if (!background->Capture()) picture.emplace(format.width, format.height, std::move(memory));
  };
  std::size_t y = 0;
  forEachRawRow([&](std::span<std::uint8_t> raw) {
    // Rows come only once the data is known to hold all of them.
    if (!background) lookBehind();
    if (Image* capture = background->Capture()) {
      std::uint32_t* behind = capture->pixels.data() + y++ * width;
      BlendRgbaRowToColours(raw.data(), behind, width, behind);
    } else {
      const std::uint32_t* behind = background->Row(static_cast<std::int64_t>(y++));
      picture->Append([&](std::uint32_t* out) { BlendRgbaRowToColours(raw.data(), behind, width, out); });
    }
  });
  if (!background) lookBehind();
  if (Image* capture = background->Capture()) {
    capture->width = static_cast<std::int32_t>(format.width);
    capture->height = static_cast<std::int32_t>(format.height);
    return std::move(*capture);
  }
  return std::move(*picture).Take();
}

}  // namespace

void LoadPNG::DecodeImage() {
  haveAlpha_ = false;
  PixelFormat format{header_.width, header_.height, header_.bitDepth, header_.colourType, outBitsPerPixel_};
  // A header that claims more than the decoder will hold fails before anything
  // is allocated for it.
  const std::optional<std::int64_t> inflatedSize = InflatedSizeWithinLimit(format, header_.interlacing);
  if (!inflatedSize) throw RunTimeError(ErrorCode::OutOfMemory, "image too large");
  ByteBuffer work = InflateImageData(*inflatedSize);
  if (DrawTrueColourDirectly(work, format) || DrawPaletteDirectly(work, format)) return;
  UndoFilters(work, format);
  std::optional<ConvertedRows> rows = ConvertSamples(work, format);
  // A header the decoder does not know draws nothing and reports nothing.
  if (!rows) return;
  BlendTransparency(work, format, *rows);
  DrawRows(work, *rows);
}

ByteBuffer LoadPNG::InflateImageData(std::int64_t inflatedSize) {
  // The two zlib header bytes are dropped unread.
  const std::size_t streamStart = std::min<std::size_t>(2, static_cast<std::size_t>(idatLength_));
  const std::span<const std::uint8_t> stream(idatBuffer_.data() + streamStart,
                                             static_cast<std::size_t>(idatLength_) - streamStart);
  // Image data that could never fill the rows its header promises (a few
  // hundred kilobytes claiming a gigabyte) is refused before any work is
  // done for it: only a stream cut short, read on as zero bits, could.
  if (header_.compression == 0 && inflatedSize > LongestInflation(static_cast<std::int64_t>(stream.size()))) {
    throw RunTimeError(ErrorCode::OutOfMemory, "image data far shorter than its header");
  }
  ByteBuffer work;
  if (header_.compression == 0) {
    inflater_.Inflate(stream, work, static_cast<std::int32_t>(inflatedSize), false);
  } else {
    work.assign(stream.begin(), stream.end());
  }
  std::vector<std::uint8_t>().swap(idatBuffer_);
  return work;
}

// The common 8-bit true-colour images go from their rows straight to device
// colours: RGB as it is, RGBA blended onto what lies behind it.
bool LoadPNG::DrawTrueColourDirectly(ByteBuffer& work, const PixelFormat& format) {
  const std::int64_t width = format.width;
  const std::int64_t height = format.height;
  const bool interlaced = header_.interlacing == kAdam7;
  const bool directRgb = format.colourType == kRgb && !(haveTransparence_ && setTrans_);
  // (Whole rows of surplus data would come first once RGBA rows are turned
  // bottom row first: such data keeps the general path, and so do rows too few,
  // which fail before the background is looked at.)
  const std::int64_t rgbaStored = height * (4 * width + 1);
  const bool directRgba = format.colourType == kRgbAlpha && setAlpha_ &&
                          (interlaced || (static_cast<std::int64_t>(work.size()) >= rgbaStored &&
                                          static_cast<std::int64_t>(work.size()) < rgbaStored + 4 * width));
  if (!(directRgb || directRgba) || format.bitDepth != 8 || !(header_.interlacing == kNotInterlaced || interlaced) ||
      width * height > bitmap::kLargestBitmapPixels) {
    return false;
  }
  Image picture;
  if (directRgb) {
    const auto pixelsPerRow = static_cast<std::size_t>(width);
    picture = RowsToColours(work, format, interlaced, ReplacedPictureStorage(),
                            [&](const std::uint8_t* row, std::uint32_t* out) { RgbRowToColours(row, pixelsPerRow, out); });
  } else {
    haveAlpha_ = true;
    picture = BlendedRgbaRows(work, format, interlaced, Behind(), ReplacedPictureStorage());
  }
  ByteBuffer().swap(work);
  outBitsPerPixel_ = 24;
  // Blended rows are described bottom row first, as the composited rows are.
  bitmaps_->TakeBitmapTrue(std::move(picture), directRgb);
  bitmaps_->DrawToPicBox(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), picBox_, true, x_, y_,
                         setToBG_);
  return true;
}

// 8-bit palette rows go from their indices straight to device colours, through
// the colour table the 8-bit description takes from the palette.
bool LoadPNG::DrawPaletteDirectly(ByteBuffer& work, const PixelFormat& format) {
  const std::int64_t width = format.width;
  const std::int64_t height = format.height;
  // (Rows too few fail in the general path, before the colour table is touched.)
  if (format.colourType != kPalette || format.bitDepth != 8 || header_.interlacing != kNotInterlaced ||
      (haveTransparence_ && setTrans_) || width * height > bitmap::kLargestBitmapPixels ||
      static_cast<std::int64_t>(work.size()) < height * ScanlineLength(format)) {
    return false;
  }
  bitmaps_->SetPalette256(palette_);
  std::array<std::uint32_t, 256> colours{};
  const auto& table = bitmaps_->BitmapInfo8().colours;
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = PackRgb(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
  const auto pixelsPerRow = static_cast<std::size_t>(width);
  Image picture = RowsToColours(work, format, false, ReplacedPictureStorage(), [&](const std::uint8_t* row, std::uint32_t* out) {
    PaletteRowToColours(row, pixelsPerRow, colours.data(), out);
  });
  ByteBuffer().swap(work);
  bitmaps_->TakeBitmap8(std::move(picture));
  bitmaps_->DrawToPicBox(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), picBox_, true, x_, y_,
                         setToBG_);
  return true;
}

// A picture drawn into the box at its own size replaces the box's picture, so
// the new one may take the old one's memory, as long as the drawing cannot
// fail on the way (a box with a border, or a size whose twips do not fit in a
// Long, keep theirs), for a failed drawing leaves the box's picture as it was.
// A box that is its own background keeps its picture to be captured.
std::function<std::vector<std::uint32_t>()> LoadPNG::ReplacedPictureStorage() const {
  return [this] {
    if (picBox_ == nullptr || picBox_->BorderPixels() != 0 || !bitmaps_->TwipsFit(header_.width, header_.height) ||
        backgroundPicture_ == picBox_) {
      return std::vector<std::uint32_t>{};
    }
    return picBox_->ReleasePicturePixels();
  };
}

// 8-bit RGB rows take their blue-first byte order in the unfiltering pass.
bool LoadPNG::SwapsWhileUnfiltering() const {
  return header_.colourType == kRgb && header_.bitDepth == 8 && header_.interlacing == kNotInterlaced;
}

void LoadPNG::UndoFilters(ByteBuffer& work, const PixelFormat& format) const {
  if (header_.interlacing == kNotInterlaced) {
    Unfilter(work, format, SwapsWhileUnfiltering() ? RowConversion(RgbRowToBgr) : RowConversion());
  } else if (header_.interlacing == kAdam7) {
    work = Deinterlace(work, format);
  }
}

void LoadPNG::ForceOutBitsPerPixel(PixelFormat& format, std::int64_t bits) {
  format.outBitsPerPixel = outBitsPerPixel_ = bits;
}

std::optional<LoadPNG::ConvertedRows> LoadPNG::ConvertSamples(ByteBuffer& work, PixelFormat& format) {
  switch (format.colourType) {
    case kGrey: return ConvertGrey(work, format);
    case kRgb:
      if (format.bitDepth == 16) Reduce16To8(work);
      if (!SwapsWhileUnfiltering()) RgbToBgr(work);
      ForceOutBitsPerPixel(format, 8);
      PadRows(24, work, format);
      ForceOutBitsPerPixel(format, 24);
      return ConvertedRows{24, true};
    case kPalette: return ConvertPalette(work, format);
    case kGreyAlpha:
    case kRgbAlpha:
      haveAlpha_ = true;
      if (format.bitDepth == 16) Reduce16To8(work);
      if (format.colourType == kGreyAlpha) GreyAlphaToBgra(work);
      ForceOutBitsPerPixel(format, 32);
      if (format.colourType == kRgbAlpha) {
        RgbaToBgraFlipped(work, format.width);  // blue first, bottom row first
      } else {
        FlipRows(work, 4 * format.width);
      }
      return ConvertedRows{32, false};
    default: return std::nullopt;
  }
}

std::optional<LoadPNG::ConvertedRows> LoadPNG::ConvertGrey(ByteBuffer& work, PixelFormat& format) {
  const std::int64_t depth = format.bitDepth;
  const bool interlaced = header_.interlacing == kAdam7;
  if (IsOneOf(depth, {1, 4, 8}) && !interlaced) {
    bitmaps_->GreyRamp(static_cast<int>(depth), false);
    PadRows(depth, work, format);
    return ConvertedRows{depth, true};
  }
  if (IsOneOf(depth, {1, 4, 8})) {
    bitmaps_->GreyRamp(static_cast<int>(depth), true);
    ForceOutBitsPerPixel(format, 8);
    PadRows(8, work, format);
  } else if (depth == 2) {
    bitmaps_->GreyRamp(2, false);
    if (!interlaced) {
      Unpack2Bit(format.width, format.height, work, ScanlineLength(format));
      ForceOutBitsPerPixel(format, 8);
    } else {
      ForceOutBitsPerPixel(format, 8);
      PadRows(8, work, format);
    }
  } else if (depth == 16) {
    Reduce16To8(work);
    bitmaps_->GreyRamp(8, false);
    ForceOutBitsPerPixel(format, 8);
    PadRows(8, work, format);
  } else {
    return std::nullopt;
  }
  return ConvertedRows{8, true};
}

std::optional<LoadPNG::ConvertedRows> LoadPNG::ConvertPalette(ByteBuffer& work, PixelFormat& format) {
  const std::int64_t depth = format.bitDepth;
  const bool interlaced = header_.interlacing == kAdam7;
  if (IsOneOf(depth, {1, 4, 8}) && !interlaced) {
    PadRows(depth, work, format);
    return ConvertedRows{depth, true};
  }
  if (IsOneOf(depth, {1, 2, 4, 8}) && interlaced) {
    ForceOutBitsPerPixel(format, 8);
    PadRows(8, work, format);
  } else if (depth == 2) {
    Unpack2Bit(format.width, format.height, work, ScanlineLength(format));
    ForceOutBitsPerPixel(format, 8);
  } else {
    return std::nullopt;
  }
  return ConvertedRows{8, true};
}

Backdrop LoadPNG::Behind() const {
  return Backdrop{backgroundPicture_, backColor_ != 0 ? backColor_ : bkgdColor_, x_, y_, bitmaps_->Screen()};
}

// Transparency and alpha blended onto what lies behind the image: 24-bit rows, bottom row first.
void LoadPNG::BlendTransparency(ByteBuffer& work, PixelFormat& format, ConvertedRows& rows) {
  const std::int64_t width = format.width;
  const std::int64_t height = format.height;
  const bool keyed = haveTransparence_ && setTrans_;
  if ((format.colourType == kGrey || format.colourType == kPalette) && keyed) {
    if (format.colourType == kGrey) {
      palette_ = bitmaps_->GreyRamp(static_cast<int>(format.bitDepth), false);
      trnsData_ = GreyAlphaTable(trnsData_, palette_.size() / 3);
    }
    IndexedToBgra(width, height, rows.bitCount, work, palette_, trnsData_);
  } else if (format.colourType == kRgb && keyed) {
    RgbKeyToBgra(width, height, work, RgbTransparentKey(trnsData_, format.bitDepth));
  } else if ((format.colourType == kGreyAlpha || format.colourType == kRgbAlpha) && setAlpha_) {
    CompositeOnBackground(Behind(), work, width, height);
    ForceOutBitsPerPixel(format, 24);
    rows.bitCount = 24;
    return;
  } else {
    return;
  }
  // The keyed pixels are BGRA now, top row first.
  ForceOutBitsPerPixel(format, 32);
  FlipRows(work, 4 * width);
  rows.topDown = false;
  CompositeOnBackground(Behind(), work, width, height);
  ForceOutBitsPerPixel(format, 24);
  rows.bitCount = 24;
}

void LoadPNG::DrawRows(ByteBuffer& work, const ConvertedRows& rows) {
  const std::int32_t w = header_.width;
  const std::int32_t h = header_.height;
  const bool isPalette = header_.colourType == kPalette;
  switch (rows.bitCount) {
    case 1:
      if (isPalette) {
        bitmaps_->SetMonoPalette(palette_);
      } else {
        bitmaps_->SetMonoColours(1);
      }
      bitmaps_->CreateBitmap1(work, w, h, true);
      break;
    case 4:
      if (isPalette) bitmaps_->SetPalette16(palette_);
      bitmaps_->CreateBitmap4(work, w, h, true);
      break;
    case 8:
      if (isPalette) bitmaps_->SetPalette256(palette_);
      bitmaps_->CreateBitmap8(work, w, h, true);
      break;
    case 24: bitmaps_->CreateBitmapTrue(work, w, h, rows.topDown, 1); break;
    case 32: bitmaps_->CreateBitmapTrue(work, w, h, rows.topDown, 0); break;
    default: return;
  }
  // The rows are in the bitmap now; they go before the box is drawn.
  ByteBuffer().swap(work);
  bitmaps_->DrawToPicBox(w, h, picBox_, true, x_, y_, setToBG_);
}

}  // namespace zorv::png
