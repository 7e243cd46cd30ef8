#include "sheet_page.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <variant>

#include "html_text.h"
#include "window/shown_paragraphs.h"
#include "window/shown_picture_size.h"

namespace zorv {
namespace {

// Text that names no colour is drawn in the window's automatic colour.
constexpr Colour kAutomaticColour = 0x000000;

bool HasShownPicturesOnly(const richtext::Paragraph& paragraph, const ScreenMetrics& screen) {
  bool picture = false;
  for (const auto& piece : paragraph.content) {
    if (std::holds_alternative<richtext::TextRun>(piece)) return false;
    const PixelSize size = ShownPictureSize(std::get<richtext::Picture>(piece), {1, 1}, screen);
    picture = picture || (size.width > 0 && size.height > 0);
  }
  return picture;
}

class PageWriter final : private ShownParagraphVisitor {
 public:
  PageWriter(const HeadlessSheet& sheet, PageAssets& assets, FontMetrics& metrics)
      : sheet_(sheet), state_(sheet.State()), document_(sheet.Report().Content()), assets_(assets),
        metrics_(metrics) {}

  std::string Write() {
    const std::string sheetClasses = "sheet " + Use(Geometry()) + " " + DefaultLook();
    std::string body;
    for (const richtext::Paragraph& paragraph : document_.paragraphs) {
      paragraphLook_ = LookOf(paragraph.markFormat);
      paragraphAttribute_.clear();
      std::string classes = paragraphLook_ == defaultLook_ ? "" : paragraphLook_;
      if (HasShownPicturesOnly(paragraph, sheet_.Screen())) classes += classes.empty() ? "pictures" : " pictures";
      if (!classes.empty()) paragraphAttribute_ = " class=\"" + classes + "\"";
      html_ += "<p" + paragraphAttribute_ + ">";
      VisitShownParagraph(paragraph, *this);
      html_ += "</p>\n";
    }
    body.swap(html_);

    const std::string language = state_.Language == 0 ? "fr" : "en";
    const std::string title = state_.ShowUsage ? "Zorvane" : HtmlTextOfCp1252(state_.GameTitle);
    const std::string page = "<body class=\"" + Use("background:" + CssColour(sheet_.Report().BackColor()) +
                                                    ";color:" + CssColour(state_.ForeColor)) +
                             "\">\n" + assets_.Navigation(state_) + "<main class=\"" + sheetClasses + "\">\n";
    return "<!DOCTYPE html>\n<html lang=\"" + language +
           "\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">\n<title>" +
           title + "</title>\n" + assets_.StyleHead(used_) + "</head>\n" + page + body + "</main>\n</body>\n</html>\n";
  }

 private:
  // The report control's place in the window: the sheet's margins and width, so
  // that a browser as wide as the window breaks the lines where the window does.
  std::string Geometry() const {
    const WindowLayout& layout = sheet_.Form().Layout();
    const ScreenMetrics& screen = sheet_.Screen();
    const int top = TwipsToPixels(layout.ReportTop, screen.TwipsPerPixelY);
    const int left = TwipsToPixels(layout.ReportLeft, screen.TwipsPerPixelX);
    const int width = TwipsToPixels(layout.ReportWidth, screen.TwipsPerPixelX);
    const int right = std::max(0, TwipsToPixels(layout.Width, screen.TwipsPerPixelX) - left - width);
    return "padding:" + std::to_string(top) + "px " + std::to_string(right) + "px " + std::to_string(top) + "px " +
           std::to_string(left) + "px;max-width:" + std::to_string(width) + "px";
  }

  // The look most paragraphs have is the sheet's own; they name none.
  std::string DefaultLook() {
    std::map<std::string, std::size_t> counts;
    for (const richtext::Paragraph& paragraph : document_.paragraphs) ++counts[LookOf(paragraph.markFormat)];
    std::size_t most = 0;
    for (const auto& [look, count] : counts) {
      if (count > most) {
        most = count;
        defaultLook_ = look;
      }
    }
    return defaultLook_;
  }

  std::string Use(const std::string& declarations) {
    std::string name = assets_.Styles().ClassFor(declarations);
    used_.insert(name);
    return name;
  }

  // A page has few looks and many paragraphs: each look is made once.
  const std::string& LookOf(const richtext::CharacterFormat& format) {
    const Colour colour = format.colour.value_or(kAutomaticColour);
    const auto key = std::make_tuple(format.font, format.halfPoints, format.bold, format.italic, colour);
    if (const auto known = looks_.find(key); known != looks_.end()) return known->second;
    const richtext::Font font = format.font < document_.fonts.size() ? document_.fonts[format.font] : richtext::Font{};
    return looks_[key] = Use(LookDeclarations(font, format.halfPoints, format.bold, format.italic, colour, metrics_));
  }

  void Text(const richtext::CharacterFormat& format, std::u32string_view text) override {
    const std::string& look = LookOf(format);
    const bool own = look != paragraphLook_;
    if (own) html_ += "<span class=\"" + look + "\">";
    if (format.underline) html_ += "<u>";
    for (const char32_t c : text) {
      if (c == U'\v') {
        html_ += "<br>";
      } else if (c == U'\n' || c == U'\u2029') {
        // The window takes these for the end of a paragraph, as a text box does.
        html_ += std::string(format.underline ? "</u>" : "") + (own ? "</span>" : "") + "</p>\n<p" +
                 paragraphAttribute_ + ">" + (own ? "<span class=\"" + look + "\">" : "") +
                 (format.underline ? "<u>" : "");
      } else {
        AppendHtmlText(html_, c);
      }
    }
    if (format.underline) html_ += "</u>";
    if (own) html_ += "</span>";
  }

  void Picture(const richtext::Picture& picture) override {
    const PixelSize size = ShownPictureSize(picture, {}, sheet_.Screen());
    std::string address;
    std::size_t category = 0;
    if (const ShownFile* file = sheet_.Pictures().FileOf(picture)) {
      address = assets_.FileAddress(*file);
      category = file->category;
    } else if (const auto file = PictureFileOf(picture)) {
      address = assets_.DataAddress(*file);
    }
    const bool sized = size.width > 0 && size.height > 0;
    // A picture the window cannot draw keeps its place as an empty area.
    if (address.empty()) {
      if (sized) {
        html_ += "<span class=\"absent " +
                 Use("width:" + std::to_string(size.width) + "px;height:" + std::to_string(size.height) + "px") +
                 "\"></span>";
      }
      return;
    }
    html_ += "<img src=\"" + address + "\"";
    if (sized) html_ += " width=\"" + std::to_string(size.width) + "\" height=\"" + std::to_string(size.height) + "\"";
    html_ += " alt=\"" + HtmlTextOfCp1252(PictureWord(category, state_.Language)) + "\" loading=\"lazy\">";
  }

  void PieceBreak() override { html_ += "</p>\n<p" + paragraphAttribute_ + ">"; }

  const HeadlessSheet& sheet_;
  const SharedState& state_;
  const richtext::Document& document_;
  PageAssets& assets_;
  FontMetrics& metrics_;
  std::set<std::string> used_;
  std::map<std::tuple<std::size_t, int, bool, bool, Colour>, std::string> looks_;
  std::string defaultLook_;
  std::string paragraphLook_;
  std::string paragraphAttribute_;
  std::string html_;
};

}  // namespace

std::string SheetPage(const HeadlessSheet& sheet, PageAssets& assets, FontMetrics& metrics) {
  return PageWriter(sheet, assets, metrics).Write();
}

}  // namespace zorv
