#pragma once
// The control words the reader acts on. Every other word is ignored.
#include <cstdint>
#include <string_view>

namespace zorv::richtext {

enum class Word : std::uint8_t {
  Unknown,
  // character format
  Bold, Italic, Underline, UnderlineNone, Plain, Font, FontSize, Colour,
  // text
  Paragraph, Line, Tab, Cell, Row, Unicode, UnicodeSkip, Binary,
  EmDash, EnDash, Bullet, LeftQuote, RightQuote, LeftDoubleQuote, RightDoubleQuote,
  EmSpace, EnSpace, QuarterEmSpace, ZeroWidthJoiner, ZeroWidthNonJoiner, LeftToRightMark, RightToLeftMark,
  // document
  DefaultFont,
  // destinations
  FontTable, ColourTable, Picture, PictureAlternatives, SkippedDestination,
  // font table
  FamilyNil, FamilyRoman, FamilySwiss, FamilyModern, FamilyScript, FamilyDecor, FamilyTech, FamilyBidi, Charset,
  // colour table
  Red, Green, Blue,
  // picture
  PngBlip, JpegBlip, DeviceIndependentBitmap, DeviceDependentBitmap, EnhancedMetafileBlip, Metafile,
  PictureWidth, PictureHeight, PictureGoalWidth, PictureGoalHeight, PictureScaleX, PictureScaleY,
  BitmapBitsPerPixel, BitmapPlanes, BitmapWidthBytes,
};

Word LookUpWord(std::string_view name) noexcept;

// The code point a special-character word stands for, or 0.
char32_t SpecialCharacterOf(Word word) noexcept;

}  // namespace zorv::richtext
