#pragma once
// The window's size and the report's font and colours: built-in defaults, then
// the display keys and flag words of Zorv.inf.
#include "platform/screen_metrics.h"
#include "startup/shared_state.h"

namespace zorv {

// Places in twips. The window has no frame, so its size is its client size.
struct WindowLayout {
  double Left = 0;
  double Top = 0;
  double Width = 8040;
  double Height = 6600;
  // The report control; its design place and size until settings move it.
  double ReportLeft = 0;
  double ReportTop = 0;
  double ReportWidth = 7935;
  double ReportHeight = 6015;
};

// Sets FontName, FontSize, ForeColor, BackColor and the flag words' switches,
// writes the built-in template first when DefaultRtf is set, and sizes the
// window. A failure is logged as "ERROR E - n" and skips the rest: the window
// then keeps its pixel counts as its size in twips.
WindowLayout ReadDisplaySettings(SharedState& state, const ScreenMetrics& screen);

}  // namespace zorv
