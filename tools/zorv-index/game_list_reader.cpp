#include "game_list_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

std::optional<int> NumberOf(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

GameListReader::GameListReader(MachineHandler onMachine) : xml_(*this), onMachine_(std::move(onMachine)) {}

void GameListReader::StartElement(std::string_view name, const char** attributes) {
  ++depth_;
  if (depth_ == 1) {
    sawRoot_ = true;
    return;
  }
  if (depth_ == 2) {
    if (name != "machine" && name != "game") return;
    machine_ = Machine{};
    inMachine_ = true;
    machine_.lineNumber = xml_.CurrentLine();
    machine_.name = XmlAttribute(attributes, "name");
    machine_.sourceFile = XmlAttribute(attributes, "sourcefile");
    machine_.cloneOf = XmlAttribute(attributes, "cloneof");
    machine_.isBios = XmlAttribute(attributes, "isbios") == "yes";
    machine_.isDevice = XmlAttribute(attributes, "isdevice") == "yes";
    machine_.isMechanical = XmlAttribute(attributes, "ismechanical") == "yes";
    machine_.runnable = XmlAttribute(attributes, "runnable") != "no";
    return;
  }
  if (!inMachine_) return;
  if (depth_ == 3) {
    if (name == "description") {
      CollectTextInto(&machine_.description);
    } else if (name == "year") {
      CollectTextInto(&machine_.year);
    } else if (name == "manufacturer") {
      CollectTextInto(&machine_.manufacturer);
    } else if (name == "display") {
      if (!machine_.rotate) machine_.rotate = NumberOf(XmlAttribute(attributes, "rotate")).value_or(0);
    } else if (name == "input") {
      inInput_ = true;
      machine_.players = NumberOf(XmlAttribute(attributes, "players"));
      machine_.buttons = NumberOf(XmlAttribute(attributes, "buttons"));
    } else if (name == "driver") {
      machine_.driverStatus = XmlAttribute(attributes, "status");
      machine_.saveState = XmlAttribute(attributes, "savestate");
    }
  } else if (depth_ == 4 && inInput_ && name == "control") {
    machine_.controls.push_back({std::string(XmlAttribute(attributes, "type")), std::string(XmlAttribute(attributes, "ways"))});
    if (const auto buttons = NumberOf(XmlAttribute(attributes, "buttons"))) {
      machine_.buttons = std::max(machine_.buttons.value_or(0), *buttons);
    }
  }
}

void GameListReader::EndElement(std::string_view) {
  if (depth_ == 3) {
    if (textTarget_) CollectTextInto(nullptr);
    inInput_ = false;
  } else if (depth_ == 2 && inMachine_) {
    inMachine_ = false;
    onMachine_(std::move(machine_));
  }
  --depth_;
}

// The list is mostly markup and the blanks between it; the parser hands over
// text only while a wanted text element is open, which spares it most of the
// work.
void GameListReader::CollectTextInto(std::string* target) {
  textTarget_ = target;
  xml_.WantText(target != nullptr);
}

void GameListReader::Text(std::string_view text) {
  if (textTarget_) textTarget_->append(text);
}

void GameListReader::Feed(std::string_view bytes, bool isLast) {
  xml_.Feed(bytes, isLast, sourceName_);
  if (isLast && !sawRoot_) throw RunTimeError(ErrorCode::InputPastEnd, sourceName_ + ": empty");
}

void ReadGameList(ByteSource& source, std::string sourceName, const GameListReader::MachineHandler& onMachine,
                  const std::function<void(std::uint64_t)>& progress) {
  GameListReader reader(onMachine);
  reader.SetSourceName(std::move(sourceName));
  std::vector<char> buffer(1u << 20);
  for (;;) {
    const std::size_t got = source.Read(buffer);
    reader.Feed(std::string_view(buffer.data(), got), got == 0);
    if (got == 0) return;
    if (progress) progress(source.BytesRead());
  }
}

}  // namespace zorv::index
