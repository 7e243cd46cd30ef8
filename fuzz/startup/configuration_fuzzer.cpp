// The configuration readers over any bytes: the same input serves as
// quorbis.inf and as Zorv.inf, read by start-up and by the window's settings.
#include <cstddef>
#include <cstdint>

#include "fuzz_folder.h"
#include "platform/screen_metrics.h"
#include "startup/configuration.h"
#include "startup/startup.h"
#include "window/display_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto folder = zorv::fuzz::FreshFolder();
  zorv::fuzz::WriteFile(folder / "quorbis.inf", data, size);
  zorv::fuzz::WriteFile(folder / "Zorv.inf", data, size);
  zorv::SharedState state;
  state.ProgramFolder = folder.string();
  zorv::Main(state, "");
  zorv::ReadDisplaySettings(state, zorv::ScreenMetrics{});
  (void)zorv::ConfigText(state, zorv::ScreenMetrics{});
  return 0;
}
