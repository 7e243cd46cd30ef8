#pragma once
// The export's log: every game's held lines go to Zorv.Log.txt as one block,
// under the export's one run header, whatever thread the game ran on.
#include <mutex>
#include <string>
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

class ExportLog {
 public:
  explicit ExportLog(const std::string& programFolder);

  // Lines as a game holds them back: each ended by CR LF (the last one may
  // lack it; a lone CR ends a line as it does in the log).
  void Write(std::string_view held);

 private:
  std::mutex mutex_;
  SharedState state_;
};

}  // namespace zorv
