#include "export_index_page.h"

#include "platform/cp1252.h"

namespace zorv {
namespace {

std::string Escaped(const std::string& cp1252) {
  std::string html;
  for (const char c : Cp1252ToUtf8(cp1252)) {
    switch (c) {
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '&': html += "&amp;"; break;
      case '"': html += "&quot;"; break;
      default: html += c;
    }
  }
  return html;
}

// A file name as a relative link: every byte outside the safe set is escaped.
std::string Link(const std::string& fileName) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string link;
  for (const char c : Cp1252ToUtf8(fileName)) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
        std::string_view("-_.~").find(c) != std::string_view::npos) {
      link += c;
    } else {
      link += '%';
      link += kHex[byte >> 4];
      link += kHex[byte & 15];
    }
  }
  return link;
}

}  // namespace

std::string IndexPage(const std::vector<IndexPageRow>& rows) {
  std::string html =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Zorvane: all games</title>\n"
      "<style>body{font-family:sans-serif}table{border-collapse:collapse}"
      "td,th{padding:2px 8px;text-align:left;border-bottom:1px solid #ddd}</style></head>\n"
      "<body><table>\n<tr><th>ROM name</th><th>Description</th><th>Year</th><th>Manufacturer</th></tr>\n";
  for (const IndexPageRow& row : rows) {
    const std::string name = Escaped(row.RomName);
    html += "<tr><td>";
    html += row.FileName.empty() ? name : "<a href=\"" + Link(row.FileName) + "\">" + name + "</a>";
    html += "</td><td>" + Escaped(row.Title) + "</td><td>" + Escaped(row.Year) + "</td><td>" +
            Escaped(row.Manufacturer) + "</td></tr>\n";
  }
  html += "</table></body></html>\n";
  return html;
}

}  // namespace zorv
