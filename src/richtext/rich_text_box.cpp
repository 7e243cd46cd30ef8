#include "richtext/rich_text_box.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/file_system.h"
#include "richtext/document_edit.h"
#include "richtext/plain_text.h"
#include "richtext/plain_text_reader.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_codec.h"

namespace zorv::richtext {
namespace {

// A font name as a font table can hold it: no ";" (it ends a name), no blanks
// around it.
std::string CleanFontName(std::string_view name) {
  std::string clean;
  for (char c : name) {
    if (c != ';') clean += c;
  }
  const auto first = clean.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

}  // namespace

RichTextBox::RichTextBox() : font_{"Arial", FontFamily::Nil, 0} { Replace(ReadPlainText({}, font_, halfPoints_)); }

void RichTextBox::Replace(Document document) {
  document_ = std::move(document);
  selStart_ = 0;
  selLength_ = 0;
  ++revision_;
}

void RichTextBox::SetTextRTF(std::string_view bytes) {
  if (IsRtf(bytes)) {
    Replace(ReadRtf(bytes, ReaderOptions{font_, halfPoints_}));
  } else {
    Replace(ReadPlainText(Cp1252ToCodePoints(bytes), font_, halfPoints_));
  }
}

std::string RichTextBox::TextRTF() const { return WriteRtf(document_); }

std::string RichTextBox::Text() const { return PlainTextUtf8(document_); }

std::u32string RichTextBox::TextCodePoints() const { return PlainTextCodePoints(document_); }

void RichTextBox::SetText(std::string_view utf8) { Replace(ReadPlainText(Utf8ToCodePoints(utf8), font_, halfPoints_)); }

std::size_t RichTextBox::TextLength() const { return PlainTextLength(document_); }

void RichTextBox::SetSelStart(std::size_t start) {
  selStart_ = std::min(start, TextLength());
  selLength_ = 0;
}

void RichTextBox::SetSelLength(std::size_t length) { selLength_ = std::min(length, TextLength() - selStart_); }

void RichTextBox::SetSelColor(Colour colour) {
  if (selLength_ == 0) return;
  Recolour(document_, selStart_, selLength_, colour & 0xFFFFFF);
  ++revision_;
}

void RichTextBox::SetFont(std::string_view name, double points) {
  font_ = Font{CleanFontName(name), FontFamily::Nil, 0};
  const double halfPoints = std::isfinite(points) ? std::round(points * 2) : kSmallestHalfPoints;
  halfPoints_ = static_cast<int>(std::clamp<double>(halfPoints, kSmallestHalfPoints, kLargestHalfPoints));
  ApplyFont(document_, font_, halfPoints_);
  ++revision_;
}

void RichTextBox::SaveFile(std::string_view windowsPath) const { WriteWholeFile(windowsPath, TextRTF()); }

}  // namespace zorv::richtext
