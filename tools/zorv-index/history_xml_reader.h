#pragma once
// Today's history file is XML:
//   <history>
//     <entry>
//       <systems><system name="gng"/><system name="gnga"/></systems>
//       <software><item list="nes" name="gng"/></software>   (home systems: not for the viewer)
//       <text>The entry's text</text>
//     </entry>
//   </history>
// The viewer reads only the classic history.dat, by byte offset, so each entry
// that serves arcade systems is written out in classic form:
//   $info=gng,gnga,  /  $bio  /  the text  /  $end
// with CR LF line ends, the text in Windows-1252 ("?" for what it lacks), so
// that the viewer's history text is the XML text: only a "$" that would make a
// line of it read as the classic file's own markup is followed by a soft hyphen.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "xml_stream.h"

namespace zorv::index {

// True when the bytes begin like an XML document (after a byte-order mark and
// blanks), which a classic history.dat never does.
bool LooksLikeXml(std::string_view firstBytes);

class HistoryXmlConverter final : private XmlStream::Events {
 public:
  // Receives the classic file in pieces, in order.
  using Sink = std::function<void(std::string_view)>;

  // `sourceName` names the XML file in messages.
  HistoryXmlConverter(std::string sourceName, Sink sink);
  HistoryXmlConverter(const HistoryXmlConverter&) = delete;
  HistoryXmlConverter& operator=(const HistoryXmlConverter&) = delete;

  // Throws zorv::RunTimeError naming the file, line and trouble: not well-formed
  // XML (entities that expand a few times past what they stand in included), a
  // root element other than <history>, an <entry> without <text> or with one
  // longer than an entry can be.
  void Feed(std::string_view bytes, bool isLast);

  std::size_t ArcadeEntries() const { return arcadeEntries_; }
  std::size_t SoftwareOnlyEntries() const { return softwareOnlyEntries_; }

 private:
  void StartElement(std::string_view name, const char** attributes) override;
  void EndElement(std::string_view name) override;
  void Text(std::string_view text) override;
  void WriteEntry();
  void Flush();
  std::string EntryName() const;
  [[noreturn]] void Refuse(const std::string& what, std::uint64_t line) const;

  XmlStream xml_;
  std::string sourceName_;
  Sink sink_;
  int depth_ = 0;
  bool sawRoot_ = false;
  bool inEntry_ = false;
  bool inText_ = false;
  bool entryHasText_ = false;
  std::uint64_t entryLine_ = 0;
  std::vector<std::string> systems_;
  std::string text_;  // UTF-8, as the parser gives it
  std::string out_;
  std::size_t arcadeEntries_ = 0;
  std::size_t softwareOnlyEntries_ = 0;
};

}  // namespace zorv::index
