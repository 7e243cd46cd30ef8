#include "history_xml_reader.h"

#include <expat.h>

#include "platform/cp1252.h"
#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

constexpr std::size_t kFlushSize = 1u << 20;

std::string_view Attribute(const char** attributes, std::string_view wanted) {
  for (const char** a = attributes; a[0] != nullptr; a += 2) {
    if (wanted == a[0]) return a[1];
  }
  return {};
}

// A name that fits on an "$info=" line: commas separate names there and a line
// break would end it.
bool FitsInfoLine(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (c == ',' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

// The parser hands every line end over as LF; a character reference can still
// give a CR. Each of CR LF, CR and LF becomes CR LF.
void AppendWithCrLf(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
}

}  // namespace

bool LooksLikeXml(std::string_view firstBytes) {
  if (firstBytes.starts_with("\xEF\xBB\xBF")) firstBytes.remove_prefix(3);
  const std::size_t first = firstBytes.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && firstBytes[first] == '<';
}

// Expat is C: nothing may be thrown through it, so a failure in a handler stops
// the parser and is thrown again once XML_Parse returns.
struct HistoryXmlConverter::Handlers {
  template <typename Work>
  static void Guarded(void* self, Work&& work) {
    auto* converter = static_cast<HistoryXmlConverter*>(self);
    if (converter->handlerFailure_) return;
    try {
      work(*converter);
    } catch (...) {
      converter->handlerFailure_ = std::current_exception();
      XML_StopParser(converter->parser_.get(), XML_FALSE);
    }
  }
  static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    Guarded(self, [&](HistoryXmlConverter& c) { c.StartElement(name, attributes); });
  }
  static void XMLCALL End(void* self, const XML_Char* name) {
    Guarded(self, [&](HistoryXmlConverter& c) { c.EndElement(name); });
  }
  static void XMLCALL Characters(void* self, const XML_Char* text, int length) {
    Guarded(self, [&](HistoryXmlConverter& c) { c.Text(std::string_view(text, static_cast<std::size_t>(length))); });
  }
};

HistoryXmlConverter::HistoryXmlConverter(std::string sourceName, Sink sink)
    : parser_(XML_ParserCreate(nullptr), XML_ParserFree), sourceName_(std::move(sourceName)), sink_(std::move(sink)) {
  if (!parser_) throw RunTimeError(ErrorCode::OutOfMemory, "the XML parser cannot be created");
  XML_SetUserData(parser_.get(), this);
  XML_SetElementHandler(parser_.get(), Handlers::Start, Handlers::End);
  XML_SetCharacterDataHandler(parser_.get(), Handlers::Characters);
}

HistoryXmlConverter::~HistoryXmlConverter() = default;

void HistoryXmlConverter::Feed(std::string_view bytes, bool isLast) {
  const auto status = XML_Parse(parser_.get(), bytes.data(), static_cast<int>(bytes.size()), isLast);
  if (handlerFailure_) std::rethrow_exception(handlerFailure_);
  if (status != XML_STATUS_OK) {
    throw RunTimeError(ErrorCode::TypeMismatch,
                       sourceName_ + ": not well-formed XML at line " +
                           std::to_string(XML_GetCurrentLineNumber(parser_.get())) + ", column " +
                           std::to_string(XML_GetCurrentColumnNumber(parser_.get()) + 1) + ": " +
                           XML_ErrorString(XML_GetErrorCode(parser_.get())));
  }
  if (isLast) Flush();
}

void HistoryXmlConverter::Refuse(const std::string& what, std::uint64_t line) const {
  throw RunTimeError(ErrorCode::TypeMismatch, sourceName_ + ", line " + std::to_string(line) + ": " + what);
}

void HistoryXmlConverter::StartElement(std::string_view name, const char** attributes) {
  ++depth_;
  const std::uint64_t line = XML_GetCurrentLineNumber(parser_.get());
  if (depth_ == 1) {
    if (name != "history") Refuse("not a history file (its root element is <" + std::string(name) + ">)", line);
    sawRoot_ = true;
  } else if (depth_ == 2 && name == "entry") {
    inEntry_ = true;
    entryHasText_ = false;
    entryLine_ = line;
    systems_.clear();
    text_.clear();
  } else if (inEntry_ && depth_ == 4 && name == "system") {
    const std::string systemName = Utf8ToCp1252(Attribute(attributes, "name"));
    if (FitsInfoLine(systemName)) systems_.push_back(systemName);
  } else if (inEntry_ && depth_ == 3 && name == "text") {
    inText_ = true;
    entryHasText_ = true;
  }
}

void HistoryXmlConverter::EndElement(std::string_view name) {
  if (inText_ && depth_ == 3) inText_ = false;
  if (inEntry_ && depth_ == 2 && name == "entry") {
    inEntry_ = false;
    if (!entryHasText_) Refuse("the <entry> has no <text>", entryLine_);
    if (systems_.empty()) {
      ++softwareOnlyEntries_;
    } else {
      WriteEntry();
    }
  }
  --depth_;
}

void HistoryXmlConverter::Text(std::string_view text) {
  if (inText_) text_.append(text);
}

void HistoryXmlConverter::WriteEntry() {
  ++arcadeEntries_;
  out_ += "$info=";
  for (const std::string& system : systems_) out_ += system + ',';
  out_ += "\r\n$bio\r\n";
  // The viewer shows what lies between the line after "$bio" and the CR LF
  // before "$end": exactly the XML text.
  AppendWithCrLf(out_, Utf8ToCp1252(text_));
  out_ += "\r\n$end\r\n\r\n";
  if (out_.size() >= kFlushSize) Flush();
}

void HistoryXmlConverter::Flush() {
  if (!out_.empty()) sink_(out_);
  out_.clear();
}

}  // namespace zorv::index
