#include "startup_timing.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "window/qt/report_view.h"
#include "window/qt/report_window.h"

namespace zorv {

StartupTiming::StartupTiming(ReportWindow& window, std::chrono::steady_clock::time_point started)
    : window_(window), started_(started) {
  connect(&window.Report(), &ReportView::Painted, this, &StartupTiming::OnPainted);
  connect(&window, &ReportWindow::Activated, this, [this] {
    if (activated_) return;
    activated_ = true;
    completeRevision_ = window_.Report().ShownRevision();
    // Nothing new to paint: what is on the screen is already complete.
    if (textTold_ && lastPainted_ == completeRevision_) OnPainted(completeRevision_);
  });
}

bool StartupTiming::Wanted() {
  const char* value = std::getenv("ZORV_TIMING");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

void StartupTiming::OnPainted(std::uint64_t revision) {
  lastPainted_ = revision;
  if (!textTold_) {
    textTold_ = true;
    Tell("text on screen");
  }
  if (activated_ && !completeTold_ && revision == completeRevision_) {
    completeTold_ = true;
    Tell("report complete");
  }
}

void StartupTiming::Tell(const char* what) const {
  using namespace std::chrono;
  const double sinceMain = duration<double, std::milli>(steady_clock::now() - started_).count();
  const double wallClock = duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
  std::fprintf(stderr, "zorv: %s %.1f ms after main, at %.1f ms wall clock\n", what, sinceMain, wallClock);
}

}  // namespace zorv
