#include "standalone_page.h"

#include <span>

#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "startup/picture_archives.h"

namespace zorv {
namespace {

std::string Base64(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const std::uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    const std::uint32_t v = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string_view MediaType(std::string_view name) {
  const std::string extension = LowerCase(name.substr(name.find_last_of('.') == std::string_view::npos
                                                          ? name.size()
                                                          : name.find_last_of('.')));
  if (extension == ".png") return "image/png";
  if (extension == ".jpg" || extension == ".jpeg") return "image/jpeg";
  if (extension == ".gif") return "image/gif";
  return "image/bmp";
}

std::string DataAddressOf(std::string_view mediaType, std::string_view bytes) {
  return "data:" + std::string(mediaType) + ";base64," +
         Base64({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace

std::string StandalonePage::StyleHead(const std::set<std::string>& classes) {
  return "<style>\n" + styles_.TextOf(classes) + "</style>\n";
}

std::string StandalonePage::FileAddress(const ShownFile& file) {
  try {
    const std::string bytes = IsArchivePicture(file.path) ? ReadArchivePicture(file.path) : ReadWholeFile(file.path);
    return DataAddressOf(MediaType(file.path), bytes);
  } catch (const std::exception&) {
    return {};  // gone since it was drawn: its place stays empty
  }
}

std::string StandalonePage::DataAddress(const PictureFile& file) {
  return DataAddressOf(MediaType(file.extension),
                       {reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()});
}

}  // namespace zorv
