#pragma once
// The text operations every reader of the program's files is written in: 1-based
// positions, searches that give 0 when nothing is found, and cuts that fail on a
// negative length, so that a malformed record fails where users expect it to.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ascii_case.h"

namespace zorv {

// 1-based position of the first `what` in `text` at or after `start`; 0 when absent.
std::size_t InStr(std::string_view text, std::string_view what, std::size_t start = 1);

// 1-based position of the last `what` in `text`; 0 when absent.
std::size_t InStrRev(std::string_view text, std::string_view what);

// The text from the 1-based `start` on (empty past the end). Error 5 for start 0.
std::string_view Mid(std::string_view text, std::size_t start);
std::string_view Mid(std::string_view text, std::size_t start, std::size_t length);

// The first `count` characters. Error 5 for a negative count.
std::string_view Left(std::string_view text, std::int64_t count);

// Leading and trailing spaces removed; tabs stay.
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimLeadingBlanks(std::string_view text);
// Leading and trailing spaces and tabs removed: what names and values in the
// emulator's ini and dat files are padded with.
std::string_view TrimBlanksAndTabs(std::string_view text);

// Every occurrence of `what`, scanning left to right without overlaps; the
// inserted text is not searched again.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace zorv
