#include "decode_options.h"

#include <getopt.h>

#include <charconv>
#include <cstring>
#include <iostream>

#include "program_front.h"

namespace zorv {
namespace {

// "RRGGBB" in hexadecimal, red first.
std::optional<Colour> ParseRgb(const char* text) {
  if (std::strlen(text) != 6 || std::strspn(text, "0123456789abcdefABCDEF") != 6) return std::nullopt;
  long rgb = 0;
  std::from_chars(text, text + 6, rgb, 16);
  return MakeColour(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                    static_cast<int>(rgb & 0xFF));
}

}  // namespace

std::optional<DecodeOptions> ParseDecodeOptions(int argc, char** argv, const std::string& program) {
  static const option kLong[] = {
      {"background", required_argument, nullptr, 'b'},
      {"info", no_argument, nullptr, 'i'},
      {"null", no_argument, nullptr, 'n'},
      {"repeat", required_argument, nullptr, 'r'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'},
      {nullptr, 0, nullptr, 0},
  };
  DecodeOptions options;
  OptionParser parser(argc, argv, program, "b:inr:h", kLong);
  const auto refuse = [&parser](const std::string& what) {
    parser.Refuse(what);
    return std::nullopt;
  };
  for (int c; (c = parser.Next()) != -1;) {
    const char* value = parser.Value();
    switch (c) {
      case 'b':
        if (const auto colour = ParseRgb(value)) {
          options.Background = *colour;
        } else {
          return refuse("background '" + std::string(value) + "' is not RRGGBB in hexadecimal");
        }
        break;
      case 'i': options.Mode = DecodeMode::Info; break;
      case 'n': options.Mode = DecodeMode::Null; break;
      case 'r': {
        const char* last = value + std::strlen(value);
        const auto [end, error] = std::from_chars(value, last, options.Repeat);
        if (error != std::errc{} || end != last || options.Repeat < 1) {
          return refuse("repeat count '" + std::string(value) + "' is not a positive number");
        }
        break;
      }
      case 'h': options.Help = true; return options;
      case 'V': options.Version = true; return options;
      default:  // getopt has said what is wrong
        return refuse({});
    }
  }
  options.Files = parser.Rest();
  const std::size_t wanted = options.Mode == DecodeMode::Picture ? 2 : 1;
  if (options.Files.size() < wanted || (options.Mode != DecodeMode::Null && options.Files.size() != wanted)) {
    const DecodeMode mode = options.Mode;
    return refuse(mode == DecodeMode::Picture ? "give IN.png and OUT.ppm"
                      : mode == DecodeMode::Info  ? "give one IN.png"
                                                  : "give at least one FILE");
  }
  return options;
}

void PrintDecodeHelp() {
  std::cout <<
      "Usage: zorv-decode [--background RRGGBB] IN.png OUT.ppm\n"
      "  or:  zorv-decode --info IN.png\n"
      "  or:  zorv-decode --null [--repeat K] FILE...\n"
      "Decodes a PNG file with the viewer's own decoder, as the report window does:\n"
      "into a picture box sized to the image, transparent pixels blended onto a\n"
      "background picture of one colour.\n"
      "\n"
      "  -b, --background=RRGGBB  the background colour, red, green, blue in\n"
      "                           hexadecimal (default 000000, black)\n"
      "  -i, --info               print the header, ErrorNumber, Text, zText,\n"
      "                           ModiTime and gama instead of writing a picture\n"
      "  -n, --null               decode every FILE and write nothing\n"
      "  -r, --repeat=K           with --null, decode each file K times\n"
      "  -h, --help               show this help and exit\n"
      "      --version            show the version and exit\n"
      "\n"
      "OUT.ppm is a binary PPM (P6, 255) of the box's picture. Exit status: 0 when a\n"
      "picture was drawn, 1 when not (the error number or failure on standard error),\n"
      "2 for a wrong command line.\n";
}

}  // namespace zorv
