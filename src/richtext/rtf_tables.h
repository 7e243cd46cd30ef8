#pragma once
// The font and colour tables of an RTF document as they are read, and the
// lookups that turn the numbers in \f and \cf into document fonts and colours.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/document.h"
#include "richtext/document_builder.h"

namespace zorv::richtext {

class FontTableReader {
 public:
  // Fonts go into `builder`; text in a font the table does not declare gets
  // `fallback`, added to the document when first needed.
  FontTableReader(DocumentBuilder& builder, const Font& fallback) : builder_(builder), fallback_(fallback) {}

  // \fN inside the table, in a group `depth` deep: a new entry begins.
  void BeginEntry(std::int32_t number, std::size_t depth);
  void SetFamily(FontFamily family) { pending_.family = family; }
  void SetCharset(std::int32_t charset);
  // A character of the entry's name; ";" ends the entry.
  void AddCharacter(char32_t c, std::size_t depth);
  // A group inside the table ends; `tableEnds` when it is the table's own.
  void EndGroup(std::size_t depth, bool tableEnds);
  // Adds the entry being read, if any, to the document.
  void Commit();

  // \deffN.
  void SetDefault(std::int32_t number) { defaultNumber_ = number; }
  // The document font for a \f number, or for the default when there is none.
  std::size_t Resolve(std::optional<std::int32_t> number);

 private:
  struct PendingFont {
    std::optional<std::int32_t> number;
    std::size_t depth = 0;  // the group depth at which the entry began
    FontFamily family = FontFamily::Nil;
    int charset = 0;
    std::u32string name;
    bool Started() const { return number.has_value() || !name.empty(); }
  };

  DocumentBuilder& builder_;
  const Font& fallback_;
  PendingFont pending_;
  std::optional<std::int32_t> defaultNumber_;
  std::unordered_map<std::int32_t, std::size_t> fontsByNumber_;
  std::optional<std::size_t> fallbackIndex_;
};

class ColourTableReader {
 public:
  void SetRed(std::int32_t value) { Set(red_, value); }
  void SetGreen(std::int32_t value) { Set(green_, value); }
  void SetBlue(std::int32_t value) { Set(blue_, value); }
  // ";" ends an entry; an entry without components is the automatic colour.
  void AddCharacter(char32_t c);

  // The colour of a \cf number: empty for the automatic colour and for a
  // number the table does not hold.
  std::optional<Colour> At(std::int32_t index) const;

 private:
  void Set(int& component, std::int32_t value);

  int red_ = 0, green_ = 0, blue_ = 0;
  bool given_ = false;
  std::vector<std::optional<Colour>> colours_;
};

}  // namespace zorv::richtext
