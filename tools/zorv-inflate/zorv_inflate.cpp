// zorv-inflate: runs the PNG decoder's inflater on a zlib stream in a file.
#include <getopt.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/run_time_error.h"
#include "png/inflate/inflate.h"
#include "program_front.h"
#include "program_version.h"

namespace {

constexpr const char* kUsage =
    "Usage: zorv-inflate [--expected N] [--large-length] IN OUT\n"
    "       zorv-inflate [--expected N] [--large-length] --null [--repeat K] IN\n"
    "\n"
    "Reads the zlib stream in IN, drops its two header bytes, inflates the rest\n"
    "as the PNG decoder does and writes the inflated bytes to OUT. The inflater's\n"
    "result code (0, -1 bad block, -2 stored length check) goes to standard error.\n"
    "\n"
    "  -e, --expected N   the expected size: the output holds at most N + 100 bytes\n"
    "                     (default: 64 times the size of IN)\n"
    "  -l, --large-length a length of 258 takes 16 more bits (the decoder never asks for it)\n"
    "  -n, --null         write nothing (for timing); OUT is not given\n"
    "  -r, --repeat K     inflate K times (with --null)\n"
    "  -h, --help         show this text\n"
    "      --version      show the version\n"
    "\n"
    "Exit status: 0 when the stream was inflated, 1 when decoding failed (the error\n"
    "number goes to standard error) or the code tables could not be built (the\n"
    "message goes to standard error and nothing is written), 2 for a usage error.\n";

class FlaggingMessageBox final : public zorv::MessageBox {
 public:
  void Show(std::string_view message) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    shown = true;
  }
  bool shown = false;
};

bool ParseCount(const char* text, long long low, long long high, long long& value) {
  const char* last = text + std::strlen(text);
  const auto [end, error] = std::from_chars(text, last, value);
  return error == std::errc{} && end == last && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program = zorv::ProgramName(argc > 0 ? argv[0] : nullptr, "zorv-inflate");
  static const option kOptions[] = {{"expected", required_argument, nullptr, 'e'},
                                    {"large-length", no_argument, nullptr, 'l'},
                                    {"null", no_argument, nullptr, 'n'},
                                    {"repeat", required_argument, nullptr, 'r'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {nullptr, 0, nullptr, 0}};
  long long expected = -1;
  bool haveExpected = false, largeLength = false, discard = false;
  long long repeat = 1;
  zorv::OptionParser parser(argc, argv, program, "e:lnr:h", kOptions);
  for (int c; (c = parser.Next()) != -1;) {
    const char* value = parser.Value();
    switch (c) {
      case 'e':
        if (!ParseCount(value, INT32_MIN, INT32_MAX, expected)) return parser.Refuse("--expected takes a whole number");
        haveExpected = true;
        break;
      case 'l': largeLength = true; break;
      case 'n': discard = true; break;
      case 'r':
        if (!ParseCount(value, 1, 1'000'000'000, repeat)) {
          return parser.Refuse("--repeat takes a number from 1 to 1000000000");
        }
        break;
      case 'h': std::fputs(kUsage, stdout); return 0;
      case 'V': std::fputs(zorv::VersionText("zorv-inflate").c_str(), stdout); return 0;
      default:  // getopt has said what is wrong
        return parser.Refuse();
    }
  }
  const std::vector<std::string> files = parser.Rest();
  if (files.size() != (discard ? 1u : 2u)) return parser.Refuse(discard ? "give IN only" : "give IN and OUT");
  if (repeat > 1 && !discard) return parser.Refuse("--repeat needs --null");

  try {
    const std::string file = zorv::ReadWholeFile(files[0]);
    const zorv::png::ByteBuffer stream(
        file.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(2, file.size())), file.end());
    if (!haveExpected) {
      // 64 times the input, kept below the inflater's 1 GiB limit.
      expected = std::min<long long>(static_cast<long long>(file.size()) * 64, (1LL << 30) - 101);
    }
    FlaggingMessageBox messages;
    zorv::png::Inflater inflater(messages);
    zorv::png::ByteBuffer data;
    int result = 0;
    for (long long i = 0; i < repeat && !messages.shown; ++i) {
      data = stream;
      result = inflater.Inflate(data, static_cast<std::int32_t>(expected), largeLength);
    }
    std::fprintf(stderr, "result %d\n", result);
    if (messages.shown) return 1;
    if (!discard) {
      zorv::WriteWholeFile(files[1],
                           std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    }
    return 0;
  } catch (const std::exception& failure) {
    return zorv::Failure(program, "error " + std::to_string(zorv::ErrorNumberOf(failure)));
  }
}
