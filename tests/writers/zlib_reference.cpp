#include "zlib_reference.h"

#include <zlib.h>

namespace zorv::testing {

std::optional<std::vector<std::uint8_t>> InflateWithZlib(std::span<const std::uint8_t> stream, bool zlibWrapped) {
  z_stream z{};
  if (inflateInit2(&z, zlibWrapped ? 15 : -15) != Z_OK) return std::nullopt;
  std::vector<std::uint8_t> out;
  std::uint8_t buffer[65536];
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  int status = Z_OK;
  while (status == Z_OK) {
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    status = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    if (status == Z_BUF_ERROR && z.avail_in == 0) break;
  }
  const bool complete = status == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!complete) return std::nullopt;
  return out;
}

}  // namespace zorv::testing
