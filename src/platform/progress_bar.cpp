#include "platform/progress_bar.h"

#include <unistd.h>

#include <algorithm>

namespace zorv {

ProgressBar::ProgressBar(std::string label, bool enabled, std::FILE* out)
    : label_(std::move(label)), enabled_(enabled), out_(out) {}

ProgressBar::~ProgressBar() { Finish(); }

bool ProgressBar::StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void ProgressBar::Update(std::uint64_t done, std::optional<std::uint64_t> total) {
  if (!enabled_) return;
  // A redraw ten times a second is enough to look alive and costs nothing.
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - lastDrawn_ < std::chrono::milliseconds(100) && (!total || done < *total)) return;
  lastDrawn_ = now;
  drawn_ = true;
  if (total && *total > 0) {
    constexpr int kWidth = 30;
    const double part = std::min(1.0, static_cast<double>(done) / static_cast<double>(*total));
    const int filled = static_cast<int>(part * kWidth);
    std::fprintf(out_, "\r%-12s [%s%s] %3d%%", label_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), static_cast<int>(part * 100));
  } else {
    std::fprintf(out_, "\r%-12s %llu MB", label_.c_str(), static_cast<unsigned long long>(done >> 20));
  }
  std::fflush(out_);
}

void ProgressBar::Finish() {
  if (!enabled_ || !drawn_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  drawn_ = false;
}

}  // namespace zorv
