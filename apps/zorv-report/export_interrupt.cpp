#include "export_interrupt.h"

#include <signal.h>

#include <atomic>

#include "platform/staged_file.h"

namespace zorv {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction previous[std::size(kSignals)];

extern "C" void OnSignal(int signalNumber) {
  int none = 0;
  if (received.compare_exchange_strong(none, signalNumber)) return;
  RemovePendingTemporaries();
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

}  // namespace

ExportInterrupts::ExportInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    ::sigaction(kSignals[i], nullptr, &previous[i]);
    // A signal ignored by whoever started the export (nohup) stays ignored.
    if (previous[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &action, nullptr);
  }
}

ExportInterrupts::~ExportInterrupts() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
}

bool ExportInterrupts::Requested() { return received.load() != 0; }

void ExportInterrupts::EndBySignal() {
  const int signalNumber = received.load();
  if (signalNumber == 0) return;
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

}  // namespace zorv
