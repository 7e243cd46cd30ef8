#include "richtext/control_words.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zorv::richtext {
namespace {

using Entry = std::pair<std::string_view, Word>;

// Sorted by name. Destinations whose content is never shown are skipped whole.
constexpr std::array kWords = std::to_array<Entry>({
    {"aftncn", Word::SkippedDestination},
    {"aftnsep", Word::SkippedDestination},
    {"aftnsepc", Word::SkippedDestination},
    {"annotation", Word::SkippedDestination},
    {"atnauthor", Word::SkippedDestination},
    {"atnid", Word::SkippedDestination},
    {"author", Word::SkippedDestination},
    {"b", Word::Bold},
    {"bin", Word::Binary},
    {"blue", Word::Blue},
    {"bullet", Word::Bullet},
    {"buptim", Word::SkippedDestination},
    {"cell", Word::Cell},
    {"cf", Word::Colour},
    {"colorschememapping", Word::SkippedDestination},
    {"colortbl", Word::ColourTable},
    {"comment", Word::SkippedDestination},
    {"creatim", Word::SkippedDestination},
    {"datastore", Word::SkippedDestination},
    {"deff", Word::DefaultFont},
    {"dibitmap", Word::DeviceIndependentBitmap},
    {"doccomm", Word::SkippedDestination},
    {"docvar", Word::SkippedDestination},
    {"emdash", Word::EmDash},
    {"emfblip", Word::EnhancedMetafileBlip},
    {"emspace", Word::EmSpace},
    {"endash", Word::EnDash},
    {"enspace", Word::EnSpace},
    {"f", Word::Font},
    {"fbidi", Word::FamilyBidi},
    {"fcharset", Word::Charset},
    {"fdecor", Word::FamilyDecor},
    {"fldinst", Word::SkippedDestination},
    {"fmodern", Word::FamilyModern},
    {"fnil", Word::FamilyNil},
    {"fonttbl", Word::FontTable},
    {"footer", Word::SkippedDestination},
    {"footerf", Word::SkippedDestination},
    {"footerl", Word::SkippedDestination},
    {"footerr", Word::SkippedDestination},
    {"footnote", Word::SkippedDestination},
    {"froman", Word::FamilyRoman},
    {"fs", Word::FontSize},
    {"fscript", Word::FamilyScript},
    {"fswiss", Word::FamilySwiss},
    {"ftech", Word::FamilyTech},
    {"ftncn", Word::SkippedDestination},
    {"ftnsep", Word::SkippedDestination},
    {"ftnsepc", Word::SkippedDestination},
    {"generator", Word::SkippedDestination},
    {"green", Word::Green},
    {"header", Word::SkippedDestination},
    {"headerf", Word::SkippedDestination},
    {"headerl", Word::SkippedDestination},
    {"headerr", Word::SkippedDestination},
    {"i", Word::Italic},
    {"info", Word::SkippedDestination},
    {"jpegblip", Word::JpegBlip},
    {"keywords", Word::SkippedDestination},
    {"latentstyles", Word::SkippedDestination},
    {"ldblquote", Word::LeftDoubleQuote},
    {"line", Word::Line},
    {"listoverridetable", Word::SkippedDestination},
    {"listtable", Word::SkippedDestination},
    {"lquote", Word::LeftQuote},
    {"ltrmark", Word::LeftToRightMark},
    {"nonshppict", Word::SkippedDestination},
    {"objclass", Word::SkippedDestination},
    {"objdata", Word::SkippedDestination},
    {"objname", Word::SkippedDestination},
    {"operator", Word::SkippedDestination},
    {"page", Word::Paragraph},
    {"par", Word::Paragraph},
    {"pgdsctbl", Word::SkippedDestination},
    {"pich", Word::PictureHeight},
    {"pichgoal", Word::PictureGoalHeight},
    {"picscalex", Word::PictureScaleX},
    {"picscaley", Word::PictureScaleY},
    {"pict", Word::Picture},
    {"picw", Word::PictureWidth},
    {"picwgoal", Word::PictureGoalWidth},
    {"plain", Word::Plain},
    {"pngblip", Word::PngBlip},
    {"printim", Word::SkippedDestination},
    {"private", Word::SkippedDestination},
    {"qmspace", Word::QuarterEmSpace},
    {"rdblquote", Word::RightDoubleQuote},
    {"red", Word::Red},
    {"revtbl", Word::SkippedDestination},
    {"revtim", Word::SkippedDestination},
    {"row", Word::Row},
    {"rquote", Word::RightQuote},
    {"rsidtbl", Word::SkippedDestination},
    {"rtlmark", Word::RightToLeftMark},
    {"sect", Word::Paragraph},
    {"shppict", Word::PictureAlternatives},
    {"stylesheet", Word::SkippedDestination},
    {"subject", Word::SkippedDestination},
    {"tab", Word::Tab},
    {"themedata", Word::SkippedDestination},
    {"title", Word::SkippedDestination},
    {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},
    {"ul", Word::Underline},
    {"uld", Word::Underline},
    {"uldash", Word::Underline},
    {"uldashd", Word::Underline},
    {"uldashdd", Word::Underline},
    {"uldb", Word::Underline},
    {"ulhwave", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"ulth", Word::Underline},
    {"ulw", Word::Underline},
    {"ulwave", Word::Underline},
    {"userprops", Word::SkippedDestination},
    {"wbitmap", Word::DeviceDependentBitmap},
    {"wbmbitspixel", Word::BitmapBitsPerPixel},
    {"wbmplanes", Word::BitmapPlanes},
    {"wbmwidthbytes", Word::BitmapWidthBytes},
    {"wgrffmtfilter", Word::SkippedDestination},
    {"wmetafile", Word::Metafile},
    {"xmlnstbl", Word::SkippedDestination},
    {"zwj", Word::ZeroWidthJoiner},
    {"zwnj", Word::ZeroWidthNonJoiner},
});

static_assert(std::ranges::is_sorted(kWords, {}, &Entry::first), "the word table must stay sorted");

}  // namespace

Word LookUpWord(std::string_view name) noexcept {
  const auto* found = std::ranges::lower_bound(kWords, name, {}, &Entry::first);
  return found != kWords.end() && found->first == name ? found->second : Word::Unknown;
}

char32_t SpecialCharacterOf(Word word) noexcept {
  switch (word) {
    case Word::EmDash: return U'\u2014';
    case Word::EnDash: return U'\u2013';
    case Word::Bullet: return U'\u2022';
    case Word::LeftQuote: return U'\u2018';
    case Word::RightQuote: return U'\u2019';
    case Word::LeftDoubleQuote: return U'\u201C';
    case Word::RightDoubleQuote: return U'\u201D';
    case Word::EmSpace: return U'\u2003';
    case Word::EnSpace: return U'\u2002';
    case Word::QuarterEmSpace: return U'\u2005';
    case Word::ZeroWidthJoiner: return U'\u200D';
    case Word::ZeroWidthNonJoiner: return U'\u200C';
    case Word::LeftToRightMark: return U'\u200E';
    case Word::RightToLeftMark: return U'\u200F';
    default: return 0;
  }
}

}  // namespace zorv::richtext
