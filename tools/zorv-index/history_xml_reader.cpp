#include "history_xml_reader.h"

#include "dat_scanner.h"
#include "platform/cp1252.h"
#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

constexpr std::size_t kFlushSize = 1u << 20;
// Windows-1252's soft hyphen: shown by nothing but a line broken at it.
constexpr char kSoftHyphen = '\xAD';

// A name that fits on an "$info=" line: commas separate names there and a line
// break would end it.
bool FitsInfoLine(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (c == ',' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

// A line of text as the classic format must hold it: a line that opens with
// "$info=" would open an entry, one that reads "$bio" or "$end" (blanks after
// it aside) would mark one, and the viewer ends a history text at the first
// "$end" wherever it stands. Each such "$" is followed by a soft hyphen, so the
// line shows as it was and reads as text.
void AppendTextLine(std::string& out, std::string_view line) {
  std::string_view trimmed = line;
  while (trimmed.ends_with(' ') || trimmed.ends_with('\t')) trimmed.remove_suffix(1);
  const bool marker = line.starts_with("$info=") || trimmed == "$bio";
  for (std::size_t i = 0; i < line.size(); ++i) {
    out += line[i];
    if (line[i] == '$' && ((i == 0 && marker) || line.substr(i + 1).starts_with("end"))) out += kSoftHyphen;
  }
}

// The parser hands every line end over as LF; a character reference can still
// give a CR. Each of CR LF, CR and LF becomes CR LF.
void AppendText(std::string& out, std::string_view text) {
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    AppendTextLine(out, text.substr(start, end - start));
    if (end == std::string_view::npos) return;
    out += "\r\n";
    start = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
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
  try {
    xml_.Feed(bytes, isLast, sourceName_);
  } catch (const RunTimeError& failure) {
    // Whatever stops the reading inside an entry (an entity that expands past
    // the parser's bounds, a text too long) names the entry.
    if (!inEntry_) throw;
    throw RunTimeError(static_cast<ErrorCode>(failure.Number()), std::string(failure.what()) + " (in " + EntryName() + ")");
  }
  if (isLast) Flush();
}

std::string HistoryXmlConverter::EntryName() const {
  std::string name = "the <entry> at line " + std::to_string(entryLine_);
  for (std::size_t i = 0; i < systems_.size(); ++i) name += (i == 0 ? " for " : ", ") + systems_[i];
  return name;
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
  if (!inText_) return;
  // The classic file holds no entry longer than the index reads.
  if (text.size() > kLongestEntry - text_.size()) {
    throw RunTimeError(ErrorCode::Overflow, sourceName_ + ": a history text longer than " +
                                                std::to_string(kLongestEntry) + " bytes");
  }
  text_.append(text);
}

void HistoryXmlConverter::WriteEntry() {
  ++arcadeEntries_;
  const std::size_t start = out_.size();
  out_ += "$info=";
  for (const std::string& system : systems_) out_ += system + ',';
  out_ += "\r\n$bio\r\n";
  // The viewer shows what lies between the line after "$bio" and the CR LF
  // before "$end": exactly the XML text.
  AppendText(out_, Utf8ToCp1252(text_));
  out_ += "\r\n$end\r\n\r\n";
  if (out_.size() - start > kLongestEntry) {
    throw RunTimeError(ErrorCode::Overflow, sourceName_ + ": " + EntryName() + " is longer than " +
                                                std::to_string(kLongestEntry) + " bytes in the classic form");
  }
  if (out_.size() >= kFlushSize) Flush();
}

void HistoryXmlConverter::Flush() {
  if (!out_.empty()) sink_(out_);
  out_.clear();
}

}  // namespace zorv::index
