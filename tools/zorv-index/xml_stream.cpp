#include "xml_stream.h"

// Debian's expat is built with DTD support, whose entity bounds its header
// declares only when asked to.
#define XML_DTD 1
#include <expat.h>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

// Neither a game list nor a history file expands entities to more than a few
// times what it holds; expat's defaults allow a hundred times past its first
// 8 MiB, which a small file of entities turns into gigabytes.
constexpr float kLargestAmplification = 4.0f;
constexpr unsigned long long kAmplificationCheckedFrom = 1u << 20;

}  // namespace

// Expat is C: nothing may be thrown through it, so a failure in a callback
// stops the parser and is thrown again once XML_Parse returns.
struct XmlStream::Callbacks {
  template <typename Work>
  static void Guarded(void* self, Work&& work) {
    auto* stream = static_cast<XmlStream*>(self);
    if (stream->failure_) return;
    try {
      work(stream->events_);
    } catch (...) {
      stream->failure_ = std::current_exception();
      XML_StopParser(stream->parser_.get(), XML_FALSE);
    }
  }
  static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    Guarded(self, [&](Events& events) { events.StartElement(name, attributes); });
  }
  static void XMLCALL End(void* self, const XML_Char* name) {
    Guarded(self, [&](Events& events) { events.EndElement(name); });
  }
  static void XMLCALL Characters(void* self, const XML_Char* text, int length) {
    Guarded(self, [&](Events& events) { events.Text(std::string_view(text, static_cast<std::size_t>(length))); });
  }
};

XmlStream::XmlStream(Events& events) : parser_(XML_ParserCreate(nullptr), XML_ParserFree), events_(events) {
  if (!parser_) throw RunTimeError(ErrorCode::OutOfMemory, "the XML parser cannot be created");
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser_.get(), kLargestAmplification);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(parser_.get(), kAmplificationCheckedFrom);
  XML_SetUserData(parser_.get(), this);
  XML_SetElementHandler(parser_.get(), Callbacks::Start, Callbacks::End);
}

XmlStream::~XmlStream() = default;

void XmlStream::Feed(std::string_view bytes, bool isLast, const std::string& sourceName) {
  const auto status = XML_Parse(parser_.get(), bytes.data(), static_cast<int>(bytes.size()), isLast);
  if (failure_) std::rethrow_exception(failure_);
  if (status != XML_STATUS_OK) {
    throw RunTimeError(ErrorCode::TypeMismatch,
                       sourceName + ": not well-formed XML at line " +
                           std::to_string(XML_GetCurrentLineNumber(parser_.get())) + ", column " +
                           std::to_string(XML_GetCurrentColumnNumber(parser_.get()) + 1) + ": " +
                           XML_ErrorString(XML_GetErrorCode(parser_.get())));
  }
}

void XmlStream::WantText(bool wanted) {
  XML_SetCharacterDataHandler(parser_.get(), wanted ? Callbacks::Characters : nullptr);
}

std::uint64_t XmlStream::CurrentLine() const { return XML_GetCurrentLineNumber(parser_.get()); }

std::string_view XmlAttribute(const char** attributes, std::string_view wanted) {
  for (const char** a = attributes; a[0] != nullptr; a += 2) {
    if (wanted == a[0]) return a[1];
  }
  return {};
}

}  // namespace zorv::index
