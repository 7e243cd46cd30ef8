#include "field_mapping.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/cp1252.h"
#include "startup/basic_text.h"

namespace zorv::index {
namespace {

constexpr std::string_view kMatureMark = "* Mature *";

std::string Capitalised(std::string_view word) {
  std::string text(word);
  if (!text.empty()) text.front() = AsciiUpper(text.front());
  return text;
}

std::string WaysText(std::string_view ways) {
  if (ways.empty()) return {};
  if (ways == "vertical2") return " vertical 2-way";
  if (std::all_of(ways.begin(), ways.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return " " + std::string(ways) + "-way";
  }
  return " " + std::string(ways);
}

// Older lists spell the ways into the type: "joy8way", "vjoy2way", "doublejoy4way".
std::string ControlName(const MachineControl& control) {
  std::string_view type = control.type;
  std::string ways = control.ways;
  if (type.ends_with("way") && type.size() > 4) {
    ways = std::string(1, type[type.size() - 4]);
    type.remove_suffix(4);
    if (type.starts_with("v")) {
      type.remove_prefix(1);
      ways = "vertical" + ways;
    }
  }
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"joy", "Joystick"},          {"doublejoy", "Double joystick"}, {"triplejoy", "Triple joystick"},
      {"stick", "Analog stick"},    {"paddle", "Paddle"},             {"pedal", "Pedal"},
      {"lightgun", "Lightgun"},     {"positional", "Positional"},     {"dial", "Dial"},
      {"trackball", "Trackball"},   {"mouse", "Mouse"},               {"only_buttons", "Buttons only"},
      {"gambling", "Gambling"},     {"hanafuda", "Hanafuda"},         {"mahjong", "Mahjong"},
      {"keypad", "Keypad"},         {"keyboard", "Keyboard"},
  };
  for (const auto& [code, name] : kNames) {
    if (type == code) return std::string(name) + WaysText(ways);
  }
  return Capitalised(type) + WaysText(ways);
}

const std::string* Find(const IniSection* section, const std::string& name) {
  if (!section) return nullptr;
  const auto found = section->find(name);
  return found == section->end() ? nullptr : &found->second;
}

std::optional<DataReference> EntryOf(const DataFileIndex* file, const Machine& machine) {
  if (!file) return std::nullopt;
  for (const std::string* name : {&machine.name, &machine.cloneOf}) {
    if (name->empty()) continue;
    if (const auto found = file->references.find(*name); found != file->references.end()) return found->second;
  }
  return std::nullopt;
}

}  // namespace

bool IsGame(const Machine& machine) { return machine.runnable && !machine.isDevice && !machine.isBios; }

std::string OrientationOf(const Machine& machine) {
  if (!machine.rotate) return {};
  return (*machine.rotate == 90 || *machine.rotate == 270) ? "Vertical" : "Horizontal";
}

std::string ControlsOf(const std::vector<MachineControl>& controls) {
  std::vector<std::string> names;
  for (const MachineControl& control : controls) {
    std::string name = ControlName(control);
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : " / ") + name;
  return joined;
}

GameValues MapGame(const Machine& machine, const CollectionData& collection) {
  GameValues game;
  game.romName = Utf8ToCp1252(machine.name);
  game.title = Utf8ToCp1252(machine.description);
  game.cloneOf = Utf8ToCp1252(machine.cloneOf);
  game.manufacturer = Utf8ToCp1252(machine.manufacturer);
  game.year = Utf8ToCp1252(machine.year);
  game.orientation = OrientationOf(machine);
  if (machine.buttons) {
    game.buttons = std::to_string(*machine.buttons);
  } else if (machine.players) {
    game.buttons = "0";
  }
  game.controls = Utf8ToCp1252(ControlsOf(machine.controls));
  game.driverStatus = Utf8ToCp1252(Capitalised(machine.driverStatus));
  game.saveState = Utf8ToCp1252(Capitalised(machine.saveState));
  game.isMechanical = machine.isMechanical;

  if (const std::string* category = Find(collection.categories, machine.name)) {
    std::string_view whole = *category;
    if (const auto mark = whole.find(kMatureMark); mark != std::string_view::npos) {
      game.isMature = true;
      const std::string_view before = TrimBlanks(whole.substr(0, mark));
      const std::string_view after = TrimBlanks(whole.substr(mark + kMatureMark.size()));
      game.category = std::string(before) + (before.empty() || after.empty() ? "" : " ") + std::string(after);
    } else {
      game.category = std::string(TrimBlanks(whole));
    }
    game.genre = std::string(TrimBlanks(std::string_view(game.category).substr(0, game.category.find(" / "))));
  }
  if (const std::string* version = Find(collection.versionsAdded, machine.name)) game.versionAdded = *version;
  if (const std::string* players = Find(collection.players, machine.name)) {
    game.players = *players;
  } else if (machine.players && *machine.players > 0) {
    game.players = std::to_string(*machine.players) + "P";
  }

  const std::string_view source = machine.sourceFile;
  const std::size_t slash = source.find_last_of("/\\");
  const std::string_view file = slash == std::string_view::npos ? source : source.substr(slash + 1);
  game.driver = Utf8ToCp1252(file);
  game.sourceFamily = Utf8ToCp1252(slash == std::string_view::npos ? file.substr(0, file.rfind('.'))
                                                                   : source.substr(0, slash));

  game.history = EntryOf(collection.history, machine);
  game.mameinfo = EntryOf(collection.mameinfo, machine);
  game.romAvailable = collection.roms && collection.roms->Has(machine.name);
  return game;
}

}  // namespace zorv::index
