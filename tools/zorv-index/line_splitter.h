#pragma once
// Splits bytes that arrive in pieces into lines. The community data files come
// with CR LF, LF or a mix of both, so here every one of CR LF, LF and a lone CR
// ends a line, and each line keeps its byte position and its own ending so that
// positions in the file stay exact.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zorv::index {

struct SplitLine {
  std::uint64_t start = 0;      // position of the line's first byte, counted from 0
  std::uint64_t number = 0;     // counted from 1
  std::string_view text;        // without its ending
  std::string_view ending;      // "\r\n", "\n", "\r", or empty for a last line without one
};

using LineHandler = std::function<void(const SplitLine&)>;

class LineSplitter {
 public:
  explicit LineSplitter(LineHandler onLine) : onLine_(std::move(onLine)) {}

  // Hands over every line that is complete; an unfinished line waits for more.
  void Feed(std::string_view bytes);
  // Hands over the last line, if the data did not end with a line ending.
  void Finish();

 private:
  void Emit(std::size_t textEnd, std::size_t endingLength);

  LineHandler onLine_;
  std::string pending_;
  std::size_t consumed_ = 0;
  std::uint64_t pendingStart_ = 0;
  std::uint64_t lineNumber_ = 0;
};

}  // namespace zorv::index
