#pragma once
// A one-line progress bar on standard error, drawn only when standard error is
// a terminal, so logs and pipes stay clean.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace zorv {

class ProgressBar {
 public:
  // `enabled` false draws nothing; `out` is where a terminal's bar goes.
  ProgressBar(std::string label, bool enabled, std::FILE* out = stderr);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // `total` empty when the size is not known (standard input): bytes are shown.
  void Update(std::uint64_t done, std::optional<std::uint64_t> total);
  void Finish();

  static bool StandardErrorIsTerminal();

 private:
  std::string label_;
  bool enabled_;
  std::FILE* out_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace zorv
