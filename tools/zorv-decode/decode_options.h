#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/colour.h"

namespace zorv {

enum class DecodeMode { Picture, Info, Null };

struct DecodeOptions {
  DecodeMode Mode = DecodeMode::Picture;
  Colour Background = 0;  // behind transparent pixels
  long Repeat = 1;
  bool Help = false;
  bool Version = false;
  std::vector<std::string> Files;
};

// Nothing (after a usage error's message on standard error, `program` beginning
// it) for a wrong command line.
std::optional<DecodeOptions> ParseDecodeOptions(int argc, char** argv, const std::string& program);
void PrintDecodeHelp();

}  // namespace zorv
