#pragma once
#include <string>

namespace zorv {

// The plain-text sheet shown for an empty command line: 46 lines joined by
// CR LF, no line break after the last.
std::string UsageText();

}  // namespace zorv
