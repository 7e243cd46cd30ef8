#pragma once
// The program's own PNG decoder. A user tells it where and how to draw (a
// picture box, a background picture, whether to apply transparency and alpha),
// then calls OpenPNG: the file's chunks are read, the image is inflated,
// unfiltered, de-interlaced, converted, blended onto its background and drawn
// into the picture box. Afterwards the header and the file's ancillary data
// can be read. One object serves many files; texts keep growing across calls.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bitmap/cbitmap.h"
#include "platform/colour.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "platform/picture_object.h"
#include "png/byte_buffer.h"
#include "png/composite.h"
#include "png/inflate/inflate.h"
#include "png/pixel_format.h"
#include "png/png_file.h"

namespace zorv::png {

class LoadPNG {
 public:
  // The bitmap module is shared by every decoder of the process.
  explicit LoadPNG(bitmap::CBitmap& bitmaps, MessageBox& messages = StandardErrorMessageBox());

  // Reads and draws the file; always 0. A file that is not a PNG file sets
  // ErrorNumber 1, a chunk that runs to the file's last byte or beyond 3, a
  // file without image data 4; any other failure leaves as RunTimeError.
  std::int32_t OpenPNG(const std::string& filename);
  // The same for a PNG file already in memory (a picture taken out of an archive).
  std::int32_t OpenPNGBytes(std::span<const std::uint8_t> file);

  std::int32_t Width() const { return header_.width; }
  std::int32_t Height() const { return header_.height; }
  std::int32_t Bitdepht() const { return header_.bitDepth; }
  std::int32_t ColorType() const { return header_.colourType; }
  std::int32_t Compression() const { return header_.compression; }
  std::int32_t Filter() const { return header_.filter; }
  std::int32_t Interlacing() const { return header_.interlacing; }
  std::int32_t ErrorNumber() const { return errorNumber_; }
  bool HaveAlpha() const { return haveAlpha_; }
  bool HaveTransparence() const { return haveTransparence_; }
  void SetTrans(bool apply) { setTrans_ = apply; }
  void SetAlpha(bool apply) { setAlpha_ = apply; }
  bool HasBKGDChunk() const { return hasBkgdChunk_; }
  Colour BkgdColor() const { return bkgdColor_; }
  // All tEXt chunks read by this object: keyword, NUL, text, NUL each.
  std::string Text() const { return text_; }
  // All zTXt chunks read by this object: keyword, NUL, inflated text, NUL each.
  std::string zText() const { return zText_; }
  // The last tIME chunk as "dd.mm.yyyy hh:mm:ss".
  std::string ModiTime() const { return modiTime_; }
  // The image gamma of the last gAMA chunk; 0 before any.
  double gama() const { return static_cast<double>(gammaValue_) / 100000.0; }
  // What lies behind transparent pixels; with none, a plain colour does.
  void BackgroundPicture(PictureObject* picture) { backgroundPicture_ = picture; }
  // The colour behind transparent pixels when there is no background picture;
  // 0 leaves it to the file's bKGD colour.
  void SetOwnBkgndColor(bool ownBkgndOn, Colour backColor = 0) {
    ownBkgndOn_ = ownBkgndOn;
    backColor_ = backColor;
  }
  void PicBox(PictureBox* box) { picBox_ = box; }
  // Where the image lies on the box and on the background picture (pixels);
  // with `setToBG` the box keeps its size.
  void SetToBkgrnd(bool setToBG, std::int32_t x = 0, std::int32_t y = 0) {
    setToBG_ = setToBG;
    x_ = x;
    y_ = y;
  }

 private:
  void ForgetLastFile();
  // The failures that end OpenPNG with an ErrorNumber rather than an error.
  enum OpenFailure : std::int32_t { kNotPng = 1, kChunkPastEnd = 3, kNoImageData = 4 };

  // Reads every chunk up to IEND; the ErrorNumber when the file is not a PNG
  // file, a chunk does not fit in it, or no image data came before IEND.
  std::optional<OpenFailure> ReadChunks(std::span<const std::uint8_t> file);
  void HandleChunk(std::span<const std::uint8_t> type, std::span<const std::uint8_t> data);
  void ReadZText(std::span<const std::uint8_t> data);

  // The decode pipeline (decode_image.cpp), stage by stage.
  struct ConvertedRows {
    std::int64_t bitCount;  // bits per pixel of the bitmap rows
    bool topDown;           // the top row comes first
  };
  void DecodeImage();
  ByteBuffer InflateImageData(std::int64_t inflatedSize);
  // 8-bit RGB and RGBA rows straight to device colours; false when the header is for the general path.
  bool DrawTrueColourDirectly(ByteBuffer& work, const PixelFormat& format);
  // 8-bit palette rows straight to device colours; false when the header is for the general path.
  bool DrawPaletteDirectly(ByteBuffer& work, const PixelFormat& format);
  // Asked by the direct paths once their picture will be drawn: the memory of the box's last picture.
  std::function<std::vector<std::uint32_t>()> ReplacedPictureStorage() const;
  bool SwapsWhileUnfiltering() const;
  void UndoFilters(ByteBuffer& work, const PixelFormat& format) const;
  // Samples as bitmap rows; nothing for a header the decoder does not convert.
  std::optional<ConvertedRows> ConvertSamples(ByteBuffer& work, PixelFormat& format);
  std::optional<ConvertedRows> ConvertGrey(ByteBuffer& work, PixelFormat& format);
  std::optional<ConvertedRows> ConvertPalette(ByteBuffer& work, PixelFormat& format);
  void BlendTransparency(ByteBuffer& work, PixelFormat& format, ConvertedRows& rows);
  void DrawRows(ByteBuffer& work, const ConvertedRows& rows);
  // The depth forced after a conversion, for the stages after it and for the next file.
  void ForceOutBitsPerPixel(PixelFormat& format, std::int64_t bits);
  Backdrop Behind() const;

  bitmap::CBitmap* bitmaps_;
  Inflater inflater_;

  ImageHeader header_;
  std::vector<std::uint8_t> idatBuffer_;
  std::int64_t idatLength_ = 0;
  std::vector<std::uint8_t> palette_;
  std::vector<std::uint8_t> trnsData_;
  std::vector<std::uint8_t> bkgdData_;
  bool haveTransparence_ = false;
  bool hasBkgdChunk_ = false;
  Colour bkgdColor_ = 0;
  std::string text_;
  std::string modiTime_;
  std::string zText_;
  std::int32_t gammaValue_ = 0;

  bool haveAlpha_ = false;
  std::int64_t outBitsPerPixel_ = 0;

  bool setAlpha_ = false;
  bool setTrans_ = false;
  PictureBox* picBox_ = nullptr;
  PictureObject* backgroundPicture_ = nullptr;
  bool setToBG_ = false;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;
  bool ownBkgndOn_ = false;
  Colour backColor_ = 0;
  std::int32_t errorNumber_ = 0;
};

}  // namespace zorv::png
