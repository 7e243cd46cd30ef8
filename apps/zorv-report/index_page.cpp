#include "index_page.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "html_text.h"
#include "platform/ascii_case.h"
#include "platform/cp1252.h"
#include "window/game_table.h"

namespace zorv {

extern const std::string_view kIndexScript;  // index.js, put in by the build

namespace {

// The page's own look: a heading with the count, the search and the filters
// above a table whose rows are all as high as the script counts on.
constexpr std::string_view kIndexStyle =
    "body{margin:0;font:15px/1.4 system-ui,sans-serif;color:#1d1d1f;background:#fafafa}"
    "header{padding:12px 16px 8px;background:#fff;border-bottom:1px solid #ddd}"
    "h1{margin:0 0 8px;font-size:22px}h1 span{font-weight:normal;color:#666}"
    ".filters{display:flex;flex-wrap:wrap;gap:8px 16px;align-items:center}"
    ".filters input,.filters select{font:inherit;padding:2px 4px;max-width:16em}"
    "#search{width:22em}#year-from,#year-to{width:4.5em}output{color:#555}"
    "table{width:100%;border-collapse:collapse;table-layout:fixed}"
    "thead th{position:sticky;top:0;background:#eee;text-align:left;padding:0;border-bottom:1px solid #ccc}"
    "th button{font:inherit;font-weight:bold;width:100%;text-align:left;padding:4px 8px;border:0;background:none;"
    "cursor:pointer}"
    "th[aria-sort=ascending] button::after{content:\" \\25B2\"}th[aria-sort=descending] button::after{content:\" \\25BC\"}"
    "td{height:27px;padding:0 8px;border-bottom:1px solid #e4e4e4;white-space:nowrap;overflow:hidden;"
    "text-overflow:ellipsis}"
    "tr.spacer td,tr.spacer{padding:0;border:0}"
    "tr.selected td{background:#dbe9ff}td.clone{padding-left:22px}"
    "col.rom{width:11%}col.title{width:35%}col.year{width:6%}col.manufacturer{width:20%}col.category{width:19%}"
    "col.players{width:9%}"
    "body:not(.ready) #rows{display:none}";

std::string JsonString(std::string_view utf8) {
  std::string json = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || c == '<') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

// A value of the data, as text a page shows: UTF-8, control characters as
// their symbols.
std::string DataText(std::string_view cp1252) {
  std::string text;
  for (const char byte : cp1252) AppendUtf8(text, VisibleCharacter(Cp1252ToCodePoint(static_cast<unsigned char>(byte))));
  return text;
}

// Each text the rows share is written once, the texts in order; a row names
// its text by its number.
class TextTable {
 public:
  void Add(const std::string& text) { texts_.insert(text); }
  // Call once every text is in.
  void Number() {
    std::vector<std::string> ordered(texts_.begin(), texts_.end());
    std::ranges::sort(ordered, [](const std::string& a, const std::string& b) {
      return std::pair(LowerCase(a), a) < std::pair(LowerCase(b), b);
    });
    for (std::size_t i = 0; i < ordered.size(); ++i) numbers_[ordered[i]] = i;
    ordered_ = std::move(ordered);
  }
  std::size_t NumberOf(const std::string& text) const { return numbers_.at(text); }
  std::string Json() const {
    std::string json = "[";
    for (std::size_t i = 0; i < ordered_.size(); ++i) json += (i > 0 ? "," : "") + JsonString(ordered_[i]);
    return json + "]";
  }

 private:
  std::set<std::string> texts_;
  std::map<std::string, std::size_t> numbers_;
  std::vector<std::string> ordered_;
};

std::string Grouped(std::size_t count, bool french) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, french ? "\xc2\xa0" : ",");
  return digits;
}

}  // namespace

std::string IndexPage(const std::vector<IndexPageRow>& rows, std::int32_t language) {
  const bool french = language == 0;
  const std::string count = Grouped(rows.size(), french) + (french ? " jeux" : rows.size() == 1 ? " game" : " games");
  const auto label = [&](std::string_view english, std::string_view inFrench) {
    return std::string(french ? inFrench : english);
  };
  std::string html = "<!DOCTYPE html>\n<html lang=\"" + label("en", "fr") +
                     "\">\n<head>\n<meta charset=\"utf-8\">\n"
                     "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">\n<title>Zorvane: " +
                     count + "</title>\n<style>" + std::string(kIndexStyle) +
                     "</style>\n<script src=\"index.js\" defer></script>\n<script src=\"games.js\" defer></script>\n"
                     "</head>\n<body>\n<header>\n<h1>Zorvane <span>" + count + "</span></h1>\n"
                     "<div class=\"filters\" role=\"search\">\n";
  html += "<input id=\"search\" type=\"search\" autofocus autocomplete=\"off\" placeholder=\"" +
          label("Search name, description, manufacturer", "Chercher nom, description, \xc3\xa9" "diteur") +
          "\" aria-label=\"" + label("Search", "Chercher") + "\">\n";
  html += "<label>" + label("Year", "Ann\xc3\xa9" "e") + " <input id=\"year-from\" inputmode=\"numeric\" aria-label=\"" +
          label("From the year", "De l'ann\xc3\xa9" "e") + "\"> " + label("to", "\xc3\xa0") +
          " <input id=\"year-to\" inputmode=\"numeric\" aria-label=\"" + label("To the year", "\xc3\x80 l'ann\xc3\xa9" "e") +
          "\"></label>\n";
  html += "<label>" + label("Manufacturer", "\xc3\x89" "diteur") +
          " <input id=\"manufacturer\" type=\"search\" list=\"manufacturers\" autocomplete=\"off\">"
          "<datalist id=\"manufacturers\"></datalist></label>\n";
  html += "<label>" + label("Category", "Cat\xc3\xa9gorie") + " <select id=\"category\"><option value=\"\">" +
          label("All", "Toutes") + "</option></select></label>\n";
  html += "<label>Clones <select id=\"clones\"><option value=\"\">" + label("Parents and clones", "Parents et clones") +
          "</option><option value=\"parents\">" + label("Parents only", "Parents seulement") +
          "</option><option value=\"clones\">" + label("Clones only", "Clones seulement") + "</option></select></label>\n";
  html += "<label><input id=\"not-games\" type=\"checkbox\"> " +
          label("Mechanical, device and BIOS machines", "Machines m\xc3\xa9" "caniques, p\xc3\xa9riph\xc3\xa9riques et BIOS") +
          "</label>\n<output id=\"shown\" aria-live=\"polite\"></output>\n</div>\n</header>\n";
  html += "<table>\n<colgroup><col class=\"rom\"><col class=\"title\"><col class=\"year\"><col class=\"manufacturer\">"
          "<col class=\"category\"><col class=\"players\"></colgroup>\n<thead><tr>";
  const std::pair<const char*, std::string> columns[] = {
      {"rom", label("ROM name", "Nom de la ROM")}, {"title", "Description"},
      {"year", label("Year", "Ann\xc3\xa9" "e")},  {"manufacturer", label("Manufacturer", "\xc3\x89" "diteur")},
      {"category", label("Category", "Cat\xc3\xa9gorie")}, {"players", label("Players", "Joueurs")}};
  for (const auto& [key, name] : columns) {
    html += "<th scope=\"col\"><button type=\"button\" data-key=\"" + std::string(key) + "\">" + name + "</button></th>";
  }
  html += "</tr></thead>\n<tbody id=\"rows\"></tbody>\n</table>\n<noscript><p>" +
          label("This list needs JavaScript.", "Cette liste demande JavaScript.") + "</p></noscript>\n</body>\n</html>\n";
  return html;
}

std::string IndexData(const std::vector<IndexPageRow>& rows) {
  // In the order of the ROM names, the index page's first order.
  std::vector<const IndexPageRow*> sorted;
  for (const IndexPageRow& row : rows) sorted.push_back(&row);
  std::ranges::sort(sorted, [](const IndexPageRow* a, const IndexPageRow* b) {
    return std::pair(LowerCase(a->Game.RomName()), a->Game.RomName()) < std::pair(LowerCase(b->Game.RomName()), b->Game.RomName());
  });
  // Column by column: a script reads long lists of strings and numbers at once.
  TextTable manufacturers;
  TextTable categories;
  TextTable players;
  for (const IndexPageRow* row : sorted) {
    manufacturers.Add(DataText(row->Game.Manufacturer()));
    categories.Add(DataText(row->Game.Category()));
    players.Add(DataText(row->Players));
  }
  manufacturers.Number();
  categories.Number();
  players.Number();
  std::string rom, title, year, manufacturer, category, player, parent, notGame, files;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const IndexPageRow& row = *sorted[i];
    const char* comma = i > 0 ? "," : "";
    const std::string name = DataText(row.Game.RomName());
    rom += comma + JsonString(name);
    title += comma + JsonString(DataText(row.Game.Title()));
    year += comma + JsonString(DataText(row.Game.Year()));
    manufacturer += comma + std::to_string(manufacturers.NumberOf(DataText(row.Game.Manufacturer())));
    category += comma + std::to_string(categories.NumberOf(DataText(row.Game.Category())));
    player += comma + std::to_string(players.NumberOf(DataText(row.Players)));
    parent += comma + JsonString(DataText(row.Game.CloneOf()));
    notGame += IsNotAGame(row.Game) ? '1' : '0';
    // Only the pages not named after their ROM name, and the games without one.
    if (row.FileName != name + ".html") {
      files += (files.empty() ? "\"" : ",\"") + std::to_string(i) + "\":" + JsonString(row.FileName);
    }
  }
  return "zorvGames({\"manufacturers\":" + manufacturers.Json() + ",\n\"categories\":" + categories.Json() +
         ",\n\"players\":" + players.Json() + ",\n\"rom\":[" + rom + "],\n\"title\":[" + title + "],\n\"year\":[" +
         year + "],\n\"manufacturer\":[" + manufacturer + "],\n\"category\":[" + category + "],\n\"player\":[" +
         player + "],\n\"parent\":[" + parent + "],\n\"notGame\":\"" + notGame + "\",\n\"files\":{" + files + "}});\n";
}

std::string_view IndexScript() { return kIndexScript; }

}  // namespace zorv
