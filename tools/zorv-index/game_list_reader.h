#pragma once
// Streams the emulator's XML game list ("-listxml") through expat and hands
// over each machine as soon as its element closes. Both the current
// <machine> and the older <game> element are read, and buttons are taken from
// <input buttons> (older lists) or from the <control buttons> of newer ones.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "byte_source.h"
#include "machine.h"
#include "xml_stream.h"

namespace zorv::index {

class GameListReader : private XmlStream::Events {
 public:
  using MachineHandler = std::function<void(Machine&&)>;

  explicit GameListReader(MachineHandler onMachine);
  GameListReader(const GameListReader&) = delete;
  GameListReader& operator=(const GameListReader&) = delete;

  // Throws zorv::RunTimeError with the parser's message, line and column when
  // the list is not well-formed XML (a cut-off list included, at `isLast`).
  void Feed(std::string_view bytes, bool isLast);

  // Errors are reported against this name.
  void SetSourceName(std::string name) { sourceName_ = std::move(name); }

 private:
  void StartElement(std::string_view name, const char** attributes) override;
  void EndElement(std::string_view name) override;
  void Text(std::string_view text) override;
  void CollectTextInto(std::string* target);

  XmlStream xml_;
  MachineHandler onMachine_;
  std::string sourceName_ = "game list";
  int depth_ = 0;
  bool inMachine_ = false;
  bool inInput_ = false;
  std::string* textTarget_ = nullptr;
  bool sawRoot_ = false;
  Machine machine_;
};

// Reads the whole list from `source`; `progress` hears the bytes read so far.
void ReadGameList(ByteSource& source, std::string sourceName, const GameListReader::MachineHandler& onMachine,
                  const std::function<void(std::uint64_t)>& progress = {});

}  // namespace zorv::index
