#pragma once
// What the XML game list says about one machine, as far as the index needs it.
// Texts are UTF-8, as the list gives them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorv::index {

struct MachineControl {
  std::string type;  // "joy", "stick", "paddle", ... or older spellings such as "joy8way"
  std::string ways;  // "8", "4", "2", "vertical2", ... (newer lists only)
  friend bool operator==(const MachineControl&, const MachineControl&) = default;
};

struct Machine {
  std::string name;
  std::string sourceFile;  // "capcom/gng.cpp" in newer lists, "gng.c" in older ones
  std::string cloneOf;
  std::string description;
  std::string year;
  std::string manufacturer;
  bool isBios = false;
  bool isDevice = false;
  bool isMechanical = false;
  bool runnable = true;
  std::optional<int> rotate;   // of the first display
  std::optional<int> players;  // input players
  std::optional<int> buttons;  // input buttons (older lists) or the most any control has
  std::vector<MachineControl> controls;
  std::string driverStatus;  // "good", "imperfect", "preliminary"
  std::string saveState;     // "supported", "unsupported"
  std::uint64_t lineNumber = 0;
};

}  // namespace zorv::index
