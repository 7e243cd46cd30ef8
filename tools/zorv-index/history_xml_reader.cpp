#include "history_xml_reader.h"

#include "platform/cp1252.h"
#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

constexpr std::size_t kFlushSize = 1u << 20;

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

HistoryXmlConverter::HistoryXmlConverter(std::string sourceName, Sink sink)
    : xml_(*this), sourceName_(std::move(sourceName)), sink_(std::move(sink)) {
  xml_.WantText(true);
}

void HistoryXmlConverter::Feed(std::string_view bytes, bool isLast) {
  xml_.Feed(bytes, isLast, sourceName_);
  if (isLast) Flush();
}

void HistoryXmlConverter::Refuse(const std::string& what, std::uint64_t line) const {
  throw RunTimeError(ErrorCode::TypeMismatch, sourceName_ + ", line " + std::to_string(line) + ": " + what);
}

void HistoryXmlConverter::StartElement(std::string_view name, const char** attributes) {
  ++depth_;
  const std::uint64_t line = xml_.CurrentLine();
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
    const std::string systemName = Utf8ToCp1252(XmlAttribute(attributes, "name"));
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
