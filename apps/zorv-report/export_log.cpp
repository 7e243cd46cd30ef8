#include "export_log.h"

#include "platform/file_system.h"
#include "startup/error_log.h"

namespace zorv {

ExportLog::ExportLog(const std::string& programFolder) { state_.ProgramFolder = programFolder; }

void ExportLog::Write(std::string_view held) {
  std::lock_guard lock(mutex_);
  for (const std::string_view line : SplitTextLines(held)) {
    try {
      WriteLog(state_, line);
    } catch (const std::exception&) {
      // A log that cannot be written is not reported anywhere else.
    }
  }
}

}  // namespace zorv
