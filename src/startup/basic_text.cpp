#include "startup/basic_text.h"

#include <cstring>

#include "platform/run_time_error.h"

namespace zorv {

std::size_t InStr(std::string_view text, std::string_view what, std::size_t start) {
  if (start == 0) throw RunTimeError(ErrorCode::InvalidArgument);
  if (start > text.size() + 1) return 0;
  if (what.size() != 2) {
    const auto found = text.find(what, start - 1);
    return found == std::string_view::npos ? 0 : found + 1;
  }
  // A field code (";B"), which the record searches of a whole index look for
  // forty thousand times over: the library's byte search finds each first
  // character, the second is compared in place.
  if (text.size() < 2) return 0;
  const char* const begin = text.data();
  const char* const last = begin + text.size() - 1;  // a match starts before it
  for (const char* at = begin + start - 1; at < last; ++at) {
    at = static_cast<const char*>(std::memchr(at, what[0], static_cast<std::size_t>(last - at)));
    if (at == nullptr) return 0;
    if (at[1] == what[1]) return static_cast<std::size_t>(at - begin) + 1;
  }
  return 0;
}

std::size_t InStrRev(std::string_view text, std::string_view what) {
  const auto found = text.rfind(what);
  return found == std::string_view::npos ? 0 : found + 1;
}

std::string_view Mid(std::string_view text, std::size_t start) {
  if (start == 0) throw RunTimeError(ErrorCode::InvalidArgument);
  return start > text.size() ? std::string_view() : text.substr(start - 1);
}

std::string_view Mid(std::string_view text, std::size_t start, std::size_t length) {
  return Mid(text, start).substr(0, length);
}

std::string_view Left(std::string_view text, std::int64_t count) {
  if (count < 0) throw RunTimeError(ErrorCode::InvalidArgument);
  return text.substr(0, static_cast<std::size_t>(count));
}

std::string_view TrimLeadingBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimBlanks(std::string_view text) {
  text = TrimLeadingBlanks(text);
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
    out.append(text, from, at - from);
    out.append(with);
    from = at + what.size();
  }
  out.append(text, from);
  return out;
}

}  // namespace zorv
