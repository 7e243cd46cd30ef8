#pragma once
// With ZORV_TIMING=1 in the environment, the window tells on standard error
// when the report's text first reached the screen and when the report was
// first shown complete with its pictures, counted from the start of main and
// as wall-clock times for measuring from outside.
#include <QObject>
#include <chrono>
#include <cstdint>

namespace zorv {

class ReportWindow;

class StartupTiming final : public QObject {
 public:
  StartupTiming(ReportWindow& window, std::chrono::steady_clock::time_point started);

  static bool Wanted();

 private:
  void OnPainted(std::uint64_t revision);
  void Tell(const char* what) const;

  ReportWindow& window_;
  std::chrono::steady_clock::time_point started_;
  bool textTold_ = false;
  bool completeTold_ = false;
  bool activated_ = false;
  std::uint64_t completeRevision_ = 0;
  std::uint64_t lastPainted_ = 0;
};

}  // namespace zorv
