#include "png/png_writer.h"

#include <algorithm>
#include <limits>

#include "platform/run_time_error.h"
#include "png/png_writer_chunks.h"
#include "png/png_writer_filter.h"
#include "png/png_writer_interlace.h"

namespace zorv::png {
namespace {

// Image data goes out in IDAT chunks of at most this many bytes.
constexpr std::size_t kIdatChunkBytes = 1 << 20;
constexpr std::uint32_t kMaxDimension = 0x7FFFFFFFu;
// EncodeRgbPng trades a little size for speed.
constexpr int kQuickCompression = kFastestCompression;

[[noreturn]] void Refuse() { throw RunTimeError(ErrorCode::InvalidArgument); }

int ChannelCount(PngColourType type) {
  switch (type) {
    case PngColourType::Grey: return 1;
    case PngColourType::Rgb: return 3;
    case PngColourType::Palette: return 1;
    case PngColourType::GreyAlpha: return 2;
    case PngColourType::Rgba: return 4;
  }
  Refuse();
}

bool DepthAllowed(PngColourType type, std::uint8_t depth) {
  switch (type) {
    case PngColourType::Grey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case PngColourType::Palette: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case PngColourType::Rgb:
    case PngColourType::GreyAlpha:
    case PngColourType::Rgba: return depth == 8 || depth == 16;
  }
  return false;
}

std::size_t BitsPerPixel(PngColourType type, std::uint8_t depth) {
  return static_cast<std::size_t>(ChannelCount(type)) * depth;
}

bool ValidKeyword(const std::string& keyword) {
  if (keyword.empty() || keyword.size() > 79 || keyword.front() == ' ' || keyword.back() == ' ') return false;
  return keyword.find('\0') == std::string::npos;
}

bool ValidTime(const PngTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour <= 23 && t.minute <= 59 &&
         t.second <= 60;
}

void CheckImage(const PngImage& image, std::size_t rowBytes) {
  if (image.width == 0 || image.height == 0 || image.width > kMaxDimension || image.height > kMaxDimension) Refuse();
  if (image.height > std::numeric_limits<std::size_t>::max() / rowBytes) throw RunTimeError(ErrorCode::Overflow);
  if (image.samples.size() != rowBytes * image.height) Refuse();

  const std::size_t entries = image.palette.size() / 3;
  const bool isPalette = image.colourType == PngColourType::Palette;
  const bool isGrey = image.colourType == PngColourType::Grey || image.colourType == PngColourType::GreyAlpha;
  if (image.palette.size() % 3 != 0 || entries > 256) Refuse();
  if (isPalette && (entries == 0 || entries > (std::size_t{1} << image.bitDepth))) Refuse();
  if (isGrey && entries != 0) Refuse();

  if (image.transparency) {
    const std::size_t size = image.transparency->size();
    switch (image.colourType) {
      case PngColourType::Grey: if (size != 2) Refuse(); break;
      case PngColourType::Rgb: if (size != 6) Refuse(); break;
      case PngColourType::Palette: if (size == 0 || size > entries) Refuse(); break;
      default: Refuse();  // the image has an alpha channel of its own
    }
  }
  if (image.background) {
    const std::vector<std::uint8_t>& data = *image.background;
    if (isPalette) {
      if (data.size() != 1 || data[0] >= entries) Refuse();
    } else if (data.size() != (isGrey ? 2u : 6u)) {
      Refuse();
    }
  }
  for (const PngText& text : image.texts)
    if (!ValidKeyword(text.keyword) || text.text.find('\0') != std::string::npos) Refuse();
  if (image.modified && !ValidTime(*image.modified)) Refuse();
}

std::vector<std::uint8_t> HeaderData(const PngImage& image) {
  std::vector<std::uint8_t> data;
  AppendBigEndian32(data, image.width);
  AppendBigEndian32(data, image.height);
  data.push_back(image.bitDepth);
  data.push_back(static_cast<std::uint8_t>(image.colourType));
  data.push_back(0);  // compression: deflate
  data.push_back(0);  // filter method: the five adaptive filters
  data.push_back(image.interlaced ? 1 : 0);
  return data;
}

std::vector<std::uint8_t> TimeData(const PngTime& time) {
  std::vector<std::uint8_t> data;
  AppendBigEndian16(data, time.year);
  data.insert(data.end(), {time.month, time.day, time.hour, time.minute, time.second});
  return data;
}

std::vector<std::uint8_t> TextData(const PngText& text) {
  std::vector<std::uint8_t> data(text.keyword.begin(), text.keyword.end());
  data.push_back(0);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.text.data());
  if (!text.compressed) {
    data.insert(data.end(), bytes, bytes + text.text.size());
    return data;
  }
  data.push_back(0);  // compression method: deflate
  const std::vector<std::uint8_t> stream = ZlibCompress({bytes, text.text.size()}, kBestCompression);
  data.insert(data.end(), stream.begin(), stream.end());
  return data;
}

// The filtered rows that IDAT compresses: the whole image, or its seven passes one after the other.
std::vector<std::uint8_t> FilteredImage(const PngImage& image, std::size_t rowBytes) {
  const std::size_t bitsPerPixel = BitsPerPixel(image.colourType, image.bitDepth);
  const std::size_t filterStep = std::max<std::size_t>(1, bitsPerPixel / 8);
  // Filters rarely help palette indices or samples below a byte.
  const PngFilterChoice choice = image.colourType == PngColourType::Palette || image.bitDepth < 8
                                     ? PngFilterChoice::None
                                     : PngFilterChoice::Adaptive;
  std::vector<std::uint8_t> filtered;
  if (!image.interlaced) {
    AppendFilteredRows(filtered, image.samples, rowBytes, image.height, filterStep, choice);
    return filtered;
  }
  for (int pass = 0; pass < 7; ++pass) {
    const PngPassImage reduced =
        ExtractAdam7Pass(image.samples, image.width, image.height, rowBytes, bitsPerPixel, pass);
    if (reduced.rows.empty()) continue;
    AppendFilteredRows(filtered, reduced.rows, reduced.rowBytes, reduced.height, filterStep, choice);
  }
  return filtered;
}

std::span<const std::uint8_t> AsBytes(const std::vector<std::uint8_t>& bytes) { return bytes; }

}  // namespace

std::size_t PngRowBytes(std::uint32_t width, PngColourType colourType, std::uint8_t bitDepth) {
  if (!DepthAllowed(colourType, bitDepth)) Refuse();
  const std::uint64_t bits = std::uint64_t{width} * BitsPerPixel(colourType, bitDepth);
  const std::uint64_t bytes = (bits + 7) / 8;
  if (bytes > std::numeric_limits<std::size_t>::max() - 1) throw RunTimeError(ErrorCode::Overflow);
  return static_cast<std::size_t>(bytes);
}

std::vector<std::uint8_t> EncodePng(const PngImage& image, int compressionLevel) {
  const std::size_t rowBytes = PngRowBytes(image.width, image.colourType, image.bitDepth);
  CheckImage(image, rowBytes);
  const std::vector<std::uint8_t> compressed = ZlibCompress(FilteredImage(image, rowBytes), compressionLevel);

  std::vector<std::uint8_t> file(std::begin(kPngSignature), std::end(kPngSignature));
  file.reserve(compressed.size() + 1024);
  AppendChunk(file, "IHDR", HeaderData(image));
  if (image.gamma) {
    std::vector<std::uint8_t> data;
    AppendBigEndian32(data, *image.gamma);
    AppendChunk(file, "gAMA", data);
  }
  if (!image.palette.empty()) AppendChunk(file, "PLTE", image.palette);
  if (image.transparency) AppendChunk(file, "tRNS", *image.transparency);
  if (image.background) AppendChunk(file, "bKGD", *image.background);
  if (image.modified) AppendChunk(file, "tIME", TimeData(*image.modified));
  for (const PngText& text : image.texts) AppendChunk(file, text.compressed ? "zTXt" : "tEXt", TextData(text));
  for (std::size_t offset = 0; offset < compressed.size(); offset += kIdatChunkBytes)
    AppendChunk(file, "IDAT", AsBytes(compressed).subspan(offset, std::min(kIdatChunkBytes, compressed.size() - offset)));
  AppendChunk(file, "IEND", {});
  return file;
}

namespace {

std::vector<std::uint8_t> EncodeRgbRows(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> rgb) {
  PngImage image;
  image.width = width;
  image.height = height;
  image.colourType = PngColourType::Rgb;
  image.bitDepth = 8;
  image.samples = std::move(rgb);
  return EncodePng(image, kQuickCompression);
}

std::size_t RgbBytes(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension) Refuse();
  const std::uint64_t bytes = std::uint64_t{width} * height * 3;
  if (bytes > std::numeric_limits<std::size_t>::max() / 2) throw RunTimeError(ErrorCode::Overflow);
  return static_cast<std::size_t>(bytes);
}

}  // namespace

std::vector<std::uint8_t> EncodeRgbPng(std::uint32_t width, std::uint32_t height,
                                       std::span<const std::uint32_t> rrggbbPixels) {
  const std::size_t bytes = RgbBytes(width, height);
  if (rrggbbPixels.size() != bytes / 3) Refuse();
  std::vector<std::uint8_t> rgb(bytes);
  std::uint8_t* out = rgb.data();
  for (const std::uint32_t pixel : rrggbbPixels) {
    *out++ = static_cast<std::uint8_t>(pixel >> 16);
    *out++ = static_cast<std::uint8_t>(pixel >> 8);
    *out++ = static_cast<std::uint8_t>(pixel);
  }
  return EncodeRgbRows(width, height, std::move(rgb));
}

std::vector<std::uint8_t> EncodeRgbPng(std::uint32_t width, std::uint32_t height,
                                       std::span<const std::uint8_t> bgrRows, std::size_t rowStride,
                                       bool bottomUp) {
  const std::size_t bytes = RgbBytes(width, height);
  const std::size_t rowBytes = std::size_t{width} * 3;
  if (rowStride < rowBytes || bgrRows.size() < rowStride * (height - 1) + rowBytes) Refuse();
  std::vector<std::uint8_t> rgb(bytes);
  for (std::size_t y = 0; y < height; ++y) {
    const std::size_t sourceRow = bottomUp ? height - 1 - y : y;
    const std::uint8_t* in = bgrRows.data() + sourceRow * rowStride;
    std::uint8_t* out = rgb.data() + y * rowBytes;
    for (std::size_t x = 0; x < width; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return EncodeRgbRows(width, height, std::move(rgb));
}

}  // namespace zorv::png
