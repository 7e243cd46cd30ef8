#include "line_splitter.h"

namespace zorv::index {

void LineSplitter::Emit(std::size_t textEnd, std::size_t endingLength) {
  SplitLine line;
  line.start = pendingStart_ + consumed_;
  line.number = ++lineNumber_;
  line.text = std::string_view(pending_).substr(consumed_, textEnd - consumed_);
  line.ending = std::string_view(pending_).substr(textEnd, endingLength);
  consumed_ = textEnd + endingLength;
  onLine_(line);
}

void LineSplitter::Feed(std::string_view bytes) {
  if (consumed_ > 0) {
    pending_.erase(0, consumed_);
    pendingStart_ += consumed_;
    consumed_ = 0;
  }
  pending_.append(bytes);
  for (;;) {
    const std::size_t brk = pending_.find_first_of("\r\n", consumed_);
    if (brk == std::string::npos) return;
    if (pending_[brk] == '\n') {
      Emit(brk, 1);
    } else if (brk + 1 < pending_.size()) {
      Emit(brk, pending_[brk + 1] == '\n' ? 2 : 1);
    } else {
      return;  // a CR at the end of the piece may be the first half of CR LF
    }
  }
}

void LineSplitter::Finish() {
  if (consumed_ < pending_.size()) {
    const bool endsWithCr = pending_.back() == '\r';
    Emit(pending_.size() - (endsWithCr ? 1 : 0), endsWithCr ? 1 : 0);
  }
  pending_.clear();
  consumed_ = 0;
}

}  // namespace zorv::index
