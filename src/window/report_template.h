#pragma once
// The report template: RTF in which #TAGS stand where the game's values and
// pictures go. The user's Zorv.rtf, or one built in, in French or English.
#include <string>

#include "startup/shared_state.h"

namespace zorv {

// The built-in template for a language (0 French, any other English), font and
// body size in half-points; the title is 4 points larger.
std::string BuildDefaultTemplate(std::int32_t language, const std::string& fontName, std::int32_t fontSize);

// Zorv.rtf from the program folder, byte for byte, unless DefaultRtf is set or
// there is none; then the built-in template. A failure is logged as
// "ERROR J - n" and gives an empty template.
std::string GetReportTemplate(SharedState& state);

// Writes the built-in template as Zorv.rtf, keeping the former file as
// Zorv.bak (a former backup is lost). Failing to write passes to the caller.
void WriteDefaultTemplate(SharedState& state);

}  // namespace zorv
