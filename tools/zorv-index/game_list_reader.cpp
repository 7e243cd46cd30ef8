#include "game_list_reader.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

std::string_view Attribute(const char** attributes, std::string_view wanted) {
  for (const char** a = attributes; a[0] != nullptr; a += 2) {
    if (wanted == a[0]) return a[1];
  }
  return {};
}

std::optional<int> NumberOf(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

// Expat is C: nothing may be thrown through it, so a failure in a handler stops
// the parser and is thrown again once XML_Parse returns.
struct GameListReader::Handlers {
  template <typename Work>
  static void Guarded(void* self, Work&& work) {
    auto* reader = static_cast<GameListReader*>(self);
    if (reader->handlerFailure_) return;
    try {
      work(*reader);
    } catch (...) {
      reader->handlerFailure_ = std::current_exception();
      XML_StopParser(reader->parser_.get(), XML_FALSE);
    }
  }
  static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    Guarded(self, [&](GameListReader& r) { r.StartElement(name, attributes); });
  }
  static void XMLCALL End(void* self, const XML_Char*) {
    Guarded(self, [&](GameListReader& r) { r.EndElement(); });
  }
  static void XMLCALL Characters(void* self, const XML_Char* text, int length) {
    Guarded(self, [&](GameListReader& r) { r.Text(std::string_view(text, static_cast<std::size_t>(length))); });
  }
};

GameListReader::GameListReader(MachineHandler onMachine)
    : parser_(XML_ParserCreate(nullptr), XML_ParserFree), onMachine_(std::move(onMachine)) {
  if (!parser_) throw RunTimeError(ErrorCode::OutOfMemory, "the XML parser cannot be created");
  XML_SetUserData(parser_.get(), this);
  XML_SetElementHandler(parser_.get(), Handlers::Start, Handlers::End);
}

GameListReader::~GameListReader() = default;

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
    machine_.lineNumber = XML_GetCurrentLineNumber(parser_.get());
    machine_.name = Attribute(attributes, "name");
    machine_.sourceFile = Attribute(attributes, "sourcefile");
    machine_.cloneOf = Attribute(attributes, "cloneof");
    machine_.isBios = Attribute(attributes, "isbios") == "yes";
    machine_.isDevice = Attribute(attributes, "isdevice") == "yes";
    machine_.runnable = Attribute(attributes, "runnable") != "no";
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
      if (!machine_.rotate) machine_.rotate = NumberOf(Attribute(attributes, "rotate")).value_or(0);
    } else if (name == "input") {
      inInput_ = true;
      machine_.players = NumberOf(Attribute(attributes, "players"));
      machine_.buttons = NumberOf(Attribute(attributes, "buttons"));
    } else if (name == "driver") {
      machine_.driverStatus = Attribute(attributes, "status");
      machine_.saveState = Attribute(attributes, "savestate");
    }
  } else if (depth_ == 4 && inInput_ && name == "control") {
    machine_.controls.push_back({std::string(Attribute(attributes, "type")), std::string(Attribute(attributes, "ways"))});
    if (const auto buttons = NumberOf(Attribute(attributes, "buttons"))) {
      machine_.buttons = std::max(machine_.buttons.value_or(0), *buttons);
    }
  }
}

void GameListReader::EndElement() {
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
  XML_SetCharacterDataHandler(parser_.get(), target ? Handlers::Characters : nullptr);
}

void GameListReader::Text(std::string_view text) {
  if (textTarget_) textTarget_->append(text);
}

void GameListReader::Feed(std::string_view bytes, bool isLast) {
  const auto status = XML_Parse(parser_.get(), bytes.data(), static_cast<int>(bytes.size()), isLast);
  if (handlerFailure_) std::rethrow_exception(handlerFailure_);
  if (status != XML_STATUS_OK) {
    throw RunTimeError(ErrorCode::TypeMismatch,
                       sourceName_ + ": not well-formed XML at line " +
                           std::to_string(XML_GetCurrentLineNumber(parser_.get())) + ", column " +
                           std::to_string(XML_GetCurrentColumnNumber(parser_.get()) + 1) + ": " +
                           XML_ErrorString(XML_GetErrorCode(parser_.get())));
  }
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
