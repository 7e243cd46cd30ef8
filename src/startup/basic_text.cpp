#include "startup/basic_text.h"

#include "platform/run_time_error.h"

namespace zorv {

std::size_t InStr(std::string_view text, std::string_view what, std::size_t start) {
  if (start == 0) throw RunTimeError(ErrorCode::InvalidArgument);
  if (start > text.size() + 1) return 0;
  if (what.size() != 2) {
    const auto found = text.find(what, start - 1);
    return found == std::string_view::npos ? 0 : found + 1;
  }
  // A field code (";B"): two characters compared in place, which the record
  // searches of a whole index do forty thousand times over.
  for (std::size_t i = start - 1; i + 1 < text.size(); ++i) {
    if (text[i] == what[0] && text[i + 1] == what[1]) return i + 1;
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
