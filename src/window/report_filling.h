#pragma once
// Puts the game's text values into the report template.
#include <string>
#include <string_view>

#include "platform/regional_settings.h"
#include "startup/shared_state.h"

namespace zorv {

// The template with every text tag replaced, one replacement after the other
// (longer tags first; the history, mameinfo and notes texts go in first, so tags
// inside them are replaced too), then the history section markers made bold.
// Picture tags stay for the pictures. Values are not escaped: they are RTF.
std::string FillReportText(std::string_view reportTemplate, const SharedState& state,
                           const RegionalSettings& regional);

}  // namespace zorv
