#include "png/load_png.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "png/background_colour.h"

namespace zorv::png {
namespace {

bool IsType(std::span<const std::uint8_t> type, std::string_view name) {
  return std::string_view(reinterpret_cast<const char*>(type.data()), type.size()) == name;
}

void AppendText(std::string& text, std::span<const std::uint8_t> bytes) {
  text.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  text.push_back('\0');
}

// A missing file in an existing folder reads as empty; a folder, or a file in
// a folder that does not exist, cannot be opened at all.
std::string ReadPngFile(const std::string& filename) {
  try {
    return ReadWholeFile(filename);
  } catch (const RunTimeError& failure) {
    if (failure.Number() != static_cast<int>(ErrorCode::FileNotFound)) throw;
  }
  const std::filesystem::path resolved = ResolvePath(filename);
  std::error_code ignored;
  if (std::filesystem::is_directory(resolved, ignored) ||
      !std::filesystem::is_directory(resolved.parent_path().empty() ? "." : resolved.parent_path(), ignored)) {
    throw RunTimeError(ErrorCode::PathFileAccess, "cannot open " + filename);
  }
  return {};
}

}  // namespace

LoadPNG::LoadPNG(bitmap::CBitmap& bitmaps, MessageBox& messages) : bitmaps_(&bitmaps), inflater_(messages) {}

void LoadPNG::ForgetLastFile() {
  hasBkgdChunk_ = false;
  haveTransparence_ = false;
  outBitsPerPixel_ = 0;
  idatBuffer_.assign(1, 0);
  idatLength_ = 0;
}

std::int32_t LoadPNG::OpenPNG(const std::string& filename) {
  ForgetLastFile();  // also when the file cannot be read
  // The file is read whole, so it is closed again before anything is decoded.
  const std::string file = ReadPngFile(filename);
  return OpenPNGBytes({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}

std::int32_t LoadPNG::OpenPNGBytes(std::span<const std::uint8_t> file) {
  ForgetLastFile();
  if (const auto failure = ReadChunks(file)) {
    errorNumber_ = *failure;
    return 0;
  }
  DecodeImage();
  return 0;
}

std::optional<LoadPNG::OpenFailure> LoadPNG::ReadChunks(std::span<const std::uint8_t> file) {
  if (!IsPngSignature(file.first(std::min(file.size(), kPngSignature.size())))) return kNotPng;
  idatBuffer_.reserve(file.size());
  std::size_t position = kPngSignature.size();
  for (;;) {
    if (position + kChunkHeaderSize > file.size()) return kChunkPastEnd;
    // A length of 2^31 or more is negative as a signed 32-bit number and
    // never fits the file.
    const auto length = static_cast<std::int32_t>(ReadBigEndian32(file, position));
    const auto type = file.subspan(position + 4, 4);
    const std::size_t dataStart = position + kChunkHeaderSize;
    // At least one byte must follow the data: a file cut inside the last CRC is accepted.
    if (length < 0 || dataStart + static_cast<std::size_t>(length) >= file.size()) return kChunkPastEnd;
    const auto data = file.subspan(dataStart, static_cast<std::size_t>(length));
    position = dataStart + data.size() + kCrcSize;  // the CRC is never checked
    if (IsType(type, "IEND")) break;
    HandleChunk(type, data);
  }
  if (idatLength_ == 0) return kNoImageData;
  return std::nullopt;
}

void LoadPNG::HandleChunk(std::span<const std::uint8_t> type, std::span<const std::uint8_t> data) {
  if (IsType(type, "IHDR")) {
    header_ = ReadHeader(data);
  } else if (IsType(type, "PLTE")) {
    palette_.assign(data.begin(), data.end());
  } else if (IsType(type, "IDAT")) {
    if (data.empty()) return;
    idatBuffer_.resize(static_cast<std::size_t>(idatLength_));
    idatBuffer_.insert(idatBuffer_.end(), data.begin(), data.end());
    idatLength_ += static_cast<std::int64_t>(data.size());
  } else if (IsType(type, "bKGD")) {
    bkgdData_.assign(data.begin(), data.end());
    bkgdColor_ = ComputeBkgdColor(bkgdData_, header_.bitDepth, header_.colourType, palette_, bkgdColor_);
    hasBkgdChunk_ = true;
  } else if (IsType(type, "gAMA")) {
    gammaValue_ = static_cast<std::int32_t>(ReadBigEndian32(data, 0));
  } else if (IsType(type, "tEXt")) {
    AppendText(text_, data);
  } else if (IsType(type, "zTXt")) {
    ReadZText(data);
  } else if (IsType(type, "tIME")) {
    modiTime_ = FormatModiTime(data);
  } else if (IsType(type, "tRNS")) {
    haveTransparence_ = true;
    trnsData_.assign(data.begin(), data.end());
  }
  // Every other chunk, critical or not, is skipped.
}

// Keyword, NUL, compression method, then a zlib stream whose two header bytes
// are skipped unchecked.
void LoadPNG::ReadZText(std::span<const std::uint8_t> data) {
  const std::int64_t keywordEnd = FindZero(data, 0);
  if (keywordEnd < 0) throw RunTimeError(ErrorCode::SubscriptOutOfRange, "zTXt chunk without a keyword");
  const auto keywordLength = static_cast<std::size_t>(keywordEnd + 1);
  AppendText(zText_, data.first(keywordLength));
  const std::size_t streamStart = std::min(data.size(), keywordLength + 4);
  std::vector<std::uint8_t> stream(data.begin() + static_cast<std::ptrdiff_t>(streamStart), data.end());
  // Room for a text twelve times the size of its compressed form.
  const std::int64_t expected = 12 * (static_cast<std::int64_t>(stream.size()) - 1);
  if (expected > INT32_MAX) throw RunTimeError(ErrorCode::Overflow, "zTXt chunk too large");
  inflater_.Inflate(stream, static_cast<std::int32_t>(expected), false);
  AppendText(zText_, stream);
}

}  // namespace zorv::png
