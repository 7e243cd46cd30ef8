#pragma once
// An expat parser fed in pieces that calls back into one reader: the game list
// and today's history file are both read this way.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

struct XML_ParserStruct;

namespace zorv::index {

class XmlStream {
 public:
  class Events {
   public:
    virtual void StartElement(std::string_view name, const char** attributes) = 0;
    virtual void EndElement(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;

   protected:
    ~Events() = default;
  };

  explicit XmlStream(Events& events);
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  // Throws zorv::RunTimeError 13 with the parser's message, line and column
  // when the bytes are not well-formed XML (a cut-off document included, at
  // `isLast`), or what a callback threw.
  void Feed(std::string_view bytes, bool isLast, const std::string& sourceName);

  // Text is handed over only while wanted: a document that is mostly markup
  // spares the parser most of its work.
  void WantText(bool wanted);

  std::uint64_t CurrentLine() const;

 private:
  struct Callbacks;

  std::unique_ptr<XML_ParserStruct, void (*)(XML_ParserStruct*)> parser_;
  Events& events_;
  std::exception_ptr failure_;
};

// The value of one attribute; empty when the element has none of that name.
std::string_view XmlAttribute(const char** attributes, std::string_view wanted);

}  // namespace zorv::index
