#pragma once
// Text put into HTML, in element content and in quoted attributes alike: the
// characters markup gives a meaning to become references, and control
// characters, which a page cannot show, become their visible symbols (U+2400
// and on), so that whatever a description or a note holds stays text.
#include <cstdint>
#include <string>
#include <string_view>

namespace zorv {

// A character as a page can show it: a control character as its symbol.
char32_t VisibleCharacter(char32_t c);

void AppendHtmlText(std::string& html, char32_t c);
std::string HtmlText(std::u32string_view text);
// Windows-1252 text, as the index and the data files hold it.
std::string HtmlTextOfCp1252(std::string_view text);

// A short hash of some bytes, to name a file or a rule after its content.
std::uint64_t ContentHash(std::string_view bytes);

// A file name (UTF-8) as one segment of a relative address: every byte outside
// the letters, digits and "-_.~" is written as %XX.
std::string AddressSegment(std::string_view fileName);

}  // namespace zorv
