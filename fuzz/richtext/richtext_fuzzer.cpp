// Reads any bytes as RTF, writes the document back and reads that again: the
// second reading must give the same document, and writing it the same bytes.
// A recoloured copy must survive the same round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "richtext/document_edit.h"
#include "richtext/plain_text.h"
#include "richtext/rich_text_box.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckRoundTrip(const zorv::richtext::Document& document) {
  using namespace zorv::richtext;
  const std::u32string text = PlainTextCodePoints(document);
  Check(text.size() == PlainTextLength(document));
  const std::string written = WriteRtf(document);
  const Document again = ReadRtf(written);
  Check(PlainTextCodePoints(again) == text);
  Check(again == document);
  Check(WriteRtf(again) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorv::richtext;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  Document document = ReadRtf(input);
  CheckRoundTrip(document);

  const std::size_t length = PlainTextLength(document);
  if (length > 0) {
    const std::size_t start = size % length;
    Recolour(document, start, (size * 7) % (length + 1), static_cast<zorv::Colour>(size * 2654435761u) & 0xFFFFFF);
    CheckRoundTrip(document);
  }

  RichTextBox box;  // the way the window hands over its text: RTF or not
  box.SetTextRTF(input);
  box.SetSelStart(0);
  box.SetSelLength(box.TextLength());
  box.SetSelColor(0x00FF00);
  CheckRoundTrip(box.Content());
  return 0;
}
