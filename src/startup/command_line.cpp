#include "startup/command_line.h"

#include <string>
#include <utility>

#include "startup/basic_text.h"

namespace zorv {

// Switches are found anywhere in the upper-cased text, even inside longer words.
void TakeSwitches(SharedState& state, std::string_view text) {
  const std::string upper = UpperCase(text);
  const std::pair<std::string_view, bool SharedState::*> switches[] = {
      {"/NOIMAGE", &SharedState::NoImage},     {"/NOTITLE", &SharedState::NoTitle},
      {"/NOFLYER", &SharedState::NoFlyer},     {"/NOMARQUEE", &SharedState::NoMarquee},
      {"/NOSNAP", &SharedState::NoSnap},       {"/NOCABINET", &SharedState::NoCabinet},
      {"/NOCPANEL", &SharedState::NoCpanel},   {"/CENTER", &SharedState::Center},
      {"/DEFAULTRTF", &SharedState::DefaultRtf}, {"/ONTOP", &SharedState::OnTop},
  };
  for (const auto& [name, flag] : switches) {
    if (upper.find(name) != std::string::npos) state.*flag = true;
  }
}

bool TakeCommandLineApart(SharedState& state, std::string_view commandText) {
  std::string_view c = TrimBlanks(commandText);
  if (c.empty()) state.ShowUsage = true;
  // Only a quote at the very start and one at the very end are dropped.
  if (!c.empty() && c.front() == '"') c = TrimBlanks(c.substr(1));
  if (!c.empty() && c.back() == '"') c = TrimBlanks(c.substr(0, c.size() - 1));

  std::string_view romName = c;
  if (const auto slash = c.find('/'); slash != std::string_view::npos) {
    romName = TrimBlanks(c.substr(0, slash));
    TakeSwitches(state, c);
  }
  if (romName.size() >= 4 && UpperCase(romName.substr(romName.size() - 4)) == ".ZIP") {
    romName = TrimBlanks(romName.substr(0, romName.size() - 4));
  }
  state.RomName = std::string(romName);
  return !(state.RomName.empty() && !state.ShowUsage);
}

}  // namespace zorv
