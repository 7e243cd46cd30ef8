// Input: two bytes of expected size (little-endian, minus 100), one byte of
// flags (bit 0: the long form of length 258), then a raw deflate stream.
// Checks: no crash or undefined behaviour, at most expectedSize + 101 bytes out,
// the very outcome of the inflater's careful path (same bytes, same result, same
// failure), and zlib's bytes whenever zlib finds the stream valid and the
// inflater returned it whole.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/run_time_error.h"
#include "png/inflate/inflate.h"

namespace {

class RecordingMessageBox final : public zorv::MessageBox {
 public:
  void Show(std::string_view message) override { shown.assign(message); }
  std::string shown;
};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

// What one call did: the bytes and result, the message of a table failure, or
// the number of a decoding failure.
struct Outcome {
  int result = 0;
  std::vector<std::uint8_t> output;
  std::string message;
  int failure = 0;
  bool operator==(const Outcome&) const = default;
};

Outcome Run(zorv::png::InflatePath path, const std::vector<std::uint8_t>& stream, std::int32_t expectedSize,
            bool largeLength) {
  RecordingMessageBox box;
  zorv::png::Inflater inflater(box, path);
  Outcome outcome;
  std::vector<std::uint8_t> buffer = stream;
  try {
    outcome.result = inflater.Inflate(buffer, expectedSize, largeLength);
    if (!box.shown.empty()) {
      Check(buffer == stream, "the stream stays in place after a table failure");
      outcome.message = box.shown;
    } else {
      Check(buffer.size() <= static_cast<std::size_t>(expectedSize + 101), "output within expectedSize + 101");
      outcome.output = buffer;
    }
  } catch (const zorv::RunTimeError& failure) {
    outcome.failure = failure.Number();
    Check(outcome.failure == static_cast<int>(zorv::ErrorCode::SubscriptOutOfRange), "error number 9");
  }
  return outcome;
}

// zlib's raw inflate of the whole stream, or false when it is not valid and complete.
bool ZlibRawInflate(const std::vector<std::uint8_t>& stream, std::size_t limit, std::vector<std::uint8_t>& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  out.assign(limit + 1, 0);
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  inflateEnd(&z);
  return status == Z_STREAM_END;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::int32_t expectedSize = (data[0] | data[1] << 8) - 100;
  const bool largeLength = (data[2] & 1) != 0;
  const std::vector<std::uint8_t> stream(data + 3, data + size);

  const Outcome outcome = Run(zorv::png::InflatePath::kFast, stream, expectedSize, largeLength);
  Check(outcome == Run(zorv::png::InflatePath::kCarefulOnly, stream, expectedSize, largeLength),
        "same outcome as the careful path");

  std::vector<std::uint8_t> zlibOutput;
  const std::size_t room = static_cast<std::size_t>(expectedSize + 101);
  if (!largeLength && outcome.failure == 0 && outcome.message.empty() && outcome.result == 0 &&
      outcome.output.size() < room && ZlibRawInflate(stream, room, zlibOutput) && zlibOutput.size() < room) {
    Check(zlibOutput == outcome.output, "same bytes as zlib");
  }
  return 0;
}
