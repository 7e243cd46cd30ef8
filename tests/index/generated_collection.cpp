#include "generated_collection.h"

#include <array>
#include <cctype>
#include <utility>

namespace zorv::index::testing {
namespace {

struct Pick {
  const char* xml;
  const char* shown;
};

constexpr std::array<Pick, 8> kTitles = {{
    {"Plain Title", "Plain Title"}, {"Caf&#233; Racer", "Caf\xE9 Racer"}, {"Semi;colon", "Semi,colon"},
    {"Kanji \xE6\x9D\xB1", "Kanji ?"}, {"Euro \xE2\x82\xAC &amp; more", "Euro \x80 & more"},
    {"Two&#10;lines&#13;", "Two lines "}, {"[Bracketed]", "[Bracketed]"}, {"Quote &quot;x&quot;", "Quote \"x\""},
}};

constexpr std::array<Pick, 6> kManufacturers = {{
    {"Capcom", "Capcom"}, {"[Bootleg]", "(Bootleg]"}, {"Taito;Romstar", "Taito,Romstar"},
    {"Namco / Atari", "Namco / Atari"}, {"", ""}, {"Cr&#233;ation", "Cr\xE9" "ation"},
}};

struct Controls {
  const char* xml;
  const char* shown;
  const char* buttons;
};

constexpr std::array<Controls, 8> kControls = {{
    {"", "", ""},
    {R"(<control type="joy" player="1" buttons="2" ways="8"/><control type="joy" player="2" buttons="2" ways="8"/>)",
     "Joystick 8-way", "2"},
    {R"(<control type="joy" player="1" buttons="1" ways="4"/><control type="trackball" player="1" buttons="3"/>)",
     "Joystick 4-way / Trackball", "3"},
    {R"(<control type="paddle" player="1"/>)", "Paddle", "0"},
    {R"(<control type="stick" player="1" buttons="6"/><control type="pedal" player="1"/>)", "Analog stick / Pedal",
     "6"},
    {R"(<control type="joy" player="1" buttons="0" ways="vertical2"/>)", "Joystick vertical 2-way", "0"},
    {R"(<control type="joy8way"/><control type="vjoy2way"/><control type="doublejoy4way"/>)",
     "Joystick 8-way / Joystick vertical 2-way / Double joystick 4-way", "0"},
    {R"x(<control type="lightgun" buttons="1"/><control type="newkind"/><control type="joy" ways="5 (half8)"/>)x",
     "Lightgun / Newkind / Joystick 5 (half8)", "1"},
}};

constexpr std::array<const char*, 9> kLines = {
    "A knight sets out to rescue the princess.", "- TRIVIA -", "- TECHNICAL -", "- SCORING -",
    "Caf\xE9 owners loved it.", "Utf-8 caf\xC3\xA9 and \xE6\x9D\xB1.", "", "Top score: 1,234,560 points; a record.",
    "Tabs\tand  spaces  ",
};

class Writer {
 public:
  explicit Writer(unsigned seed) : random_(seed) {}

  std::size_t Below(std::size_t n) { return random_() % n; }

  // One entry's text lines, each with its own ending in the chosen style.
  std::vector<std::pair<std::string, std::string>> Lines(int style, std::size_t count) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (std::size_t i = 0; i < count; ++i) {
      const char* ending = style == 0 ? "\r\n" : style == 1 ? "\n" : (Below(2) ? "\r\n" : "\n");
      lines.emplace_back(kLines[Below(kLines.size())], ending);
    }
    if (lines.front().first.empty()) lines.front().first = "Opening line.";
    return lines;
  }

  // Writes "$info=names", the marker, the lines and "$end"; returns the text
  // between them as the file holds it (without the ending before "$end").
  std::string Entry(std::string& file, const std::string& names, const char* marker, const std::string& markerEnding,
                    const std::vector<std::pair<std::string, std::string>>& lines) {
    file += "$info=" + names + (Below(2) ? "\r\n" : "\n") + marker + markerEnding;
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      text += lines[i].first;
      if (i + 1 < lines.size()) text += lines[i].second;
    }
    file += text + lines.back().second + "$end" + (Below(4) ? "" : "  ") + (Below(2) ? "\r\n" : "\n") + "\r\n";
    return text;
  }

 private:
  std::mt19937 random_;
};

}  // namespace

GeneratedCollection GenerateCollection(unsigned seed, int parents) {
  GeneratedCollection c;
  Writer w(seed);
  // Every third collection is in the older format: "game" elements, buttons on
  // the input element, source files without a folder.
  const bool older = seed % 3 == 0;
  const std::string element = older ? "game" : "machine";
  c.xml = "<?xml version=\"1.0\"?>\n<mame build=\"0.999 (tests)\">\n";
  c.history = "## history made up for the tests\r\n##\r\n\r\n";
  c.mameinfo = "# mameinfo made up for the tests\r\n\r\n";
  c.catver = "\xEF\xBB\xBF;; catver ;;\r\n[FOLDER_SETTINGS]\r\nRootFolderIcon mame\r\n[Category]\r\nbroken line\r\n=no name\r\n";
  std::string verAdded = "[veradded]\r\n";
  std::string lateCategories;  // a name met again: the first value holds
  c.nplayers = ";; nplayers ;;\n[NPlayers]\n";
  std::string lateDuplicates;

  for (int p = 0; p < parents; ++p) {
    const int cloneCount = static_cast<int>(w.Below(3));
    const std::string parentName = "g" + std::to_string(p);
    std::string parentHistory;
    std::string parentMameinfo;
    bool firstCloneListed = false;
    if (w.Below(5) != 0) {
      std::string names = parentName + ",";
      firstCloneListed = cloneCount > 0 && w.Below(2);
      if (firstCloneListed) names += " " + parentName + "c0 ,";  // a clone named in its parent's entry
      if (w.Below(3) == 0) names.pop_back();                         // no comma after the last name
      const int style = static_cast<int>(w.Below(3));
      parentHistory = w.Entry(c.history, names, "$bio", style == 1 ? "\n" : "\r\n", w.Lines(style, 1 + w.Below(12)));
      if (w.Below(6) == 0) w.Entry(lateDuplicates, parentName, "$bio", "\r\n", w.Lines(0, 2));
    }
    if (w.Below(3) != 0) {
      const int style = static_cast<int>(w.Below(3));
      const std::string markerEnding = style == 0 ? "\r\n" : style == 1 ? "\n" : (w.Below(2) ? "\r\n" : "\n");
      const std::string text = w.Entry(c.mameinfo, parentName, "$mame", markerEnding, w.Lines(style, 1 + w.Below(8)));
      parentMameinfo = (markerEnding == "\r\n" ? "MAME v" : "") + text;
      w.Entry(c.mameinfo, "drv" + std::to_string(p) + ".cpp", "$drv", "\r\n", w.Lines(0, 2));
    }

    for (int k = 0; k <= cloneCount; ++k) {
      const bool isClone = k > 0;
      const int i = p * 3 + k;
      ExpectedGame g;
      g.name = isClone ? parentName + "c" + std::to_string(k - 1) : parentName;
      g.cloneOf = isClone ? parentName : "";
      const Pick title = kTitles[w.Below(kTitles.size())];
      const Pick maker = kManufacturers[w.Below(kManufacturers.size())];
      g.title = title.shown;
      g.manufacturer = maker.shown;
      g.year = std::array<const char*, 3>{"1985", "198?", ""}[w.Below(3)];
      const int rotate = std::array<int, 5>{-1, 0, 90, 180, 270}[w.Below(5)];
      g.orientation = rotate < 0 ? "" : (rotate % 180 ? "Vertical" : "Horizontal");
      const Controls controls = kControls[w.Below(kControls.size())];
      const int players = 1 + static_cast<int>(w.Below(2));
      g.controls = controls.shown;
      g.buttons = controls.buttons;
      const std::size_t status = w.Below(3);
      g.driverStatus = std::array<const char*, 3>{"Good", "Imperfect", "Preliminary"}[status];
      const char* statusXml = std::array<const char*, 3>{"good", "imperfect", "preliminary"}[status];
      const std::size_t save = w.Below(3);
      g.saveState = std::array<const char*, 3>{"Supported", "Unsupported", ""}[save];
      g.driver = "drv" + std::to_string(p) + (older ? ".c" : ".cpp");
      const std::string folder = older ? "" : "maker" + std::to_string(p % 4) + "/";

      c.xml += "\t<" + element + " name=\"" + g.name + "\" sourcefile=\"" + folder + g.driver + "\"" +
               (isClone ? " cloneof=\"" + parentName + "\" romof=\"" + parentName + "\"" : "") + ">\n";
      c.xml += "\t\t<description>" + std::string(title.xml) + "</description>\n";
      if (!g.year.empty()) c.xml += "\t\t<year>" + g.year + "</year>\n";
      c.xml += "\t\t<manufacturer>" + std::string(maker.xml) + "</manufacturer>\n";
      c.xml += "\t\t<rom name=\"a.bin\" size=\"16384\" crc=\"01234567\"/>\n";
      if (rotate >= 0) c.xml += "\t\t<display tag=\"screen\" type=\"raster\" rotate=\"" + std::to_string(rotate) + "\"/>\n";
      std::string inputs = controls.xml;
      for (std::size_t at; older && (at = inputs.find(" buttons=")) != std::string::npos;) inputs.erase(at, 12);
      if (*controls.xml) {
        c.xml += "\t\t<input players=\"" + std::to_string(players) + "\" coins=\"1\"" +
                 (older && *controls.buttons ? " buttons=\"" + g.buttons + "\"" : "") + ">" + inputs + "</input>\n";
      }
      c.xml += "\t\t<driver status=\"" + std::string(statusXml) + "\"" +
               (save == 0 ? " savestate=\"supported\"" : save == 1 ? " savestate=\"unsupported\"" : "") + "/>\n";
      c.xml += "\t</" + element + ">\n";

      switch (i % 4) {
        case 1:
          c.catver += g.name + "=Platform / Run Jump\r\n";
          g.genre = "Platform";
          g.category = "Platform / Run Jump";
          break;
        case 2:
          c.catver += g.name + "=Shooter / Flying * Mature *\r\n";
          g.genre = "Shooter";
          g.category = "Shooter / Flying";
          g.mature = true;
          break;
        case 3:
          c.catver += g.name + "=Quiz\r\n";
          g.genre = g.category = "Quiz";
          lateCategories += g.name + "=Late / Duplicate\r\n";
          break;
        default:
          break;
      }
      if (i % 3 != 0) {
        g.versionAdded = "0." + std::to_string(i) + (i % 2 ? "u1" : "");
        verAdded += g.name + "=" + g.versionAdded + "\r\n";
      }
      if (i % 3 == 1) {
        c.nplayers += g.name + (i % 2 ? "=2P alt\n" : "=2P alt\r");
        g.players = "2P alt";
      } else if (*controls.xml) {
        g.players = std::to_string(players) + "P";
      }
      if (i % 3 == 0) {
        c.romFiles.push_back(g.name + ".zip");
        g.romAvailable = true;
      } else if (i % 6 == 1) {
        std::string upper = g.name + ".7Z";
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        c.romFiles.push_back(upper);
        g.romAvailable = true;
      } else if (i % 6 == 2) {
        c.romFiles.push_back(g.name + ".rar");  // not a ROM set the viewer knows
      }

      g.history = parentHistory;
      g.mameinfo = parentMameinfo;
      if (isClone && !(k == 1 && firstCloneListed) && w.Below(4) == 0) {  // a clone with an entry of its own
        g.history = w.Entry(c.history, g.name, "$bio", "\r\n", w.Lines(0, 3));
      }
      c.games.push_back(std::move(g));
    }
    if (p % 7 == 3) {
      const std::string device = "dev" + std::to_string(p);
      c.xml += "\t<machine name=\"" + device + "\" isdevice=\"yes\" runnable=\"no\"><description>Device</description></machine>\n";
      const std::string bios = "bios" + std::to_string(p);
      c.xml += "\t<machine name=\"" + bios + "\" isbios=\"yes\"><description>BIOS</description></machine>\n";
      c.notGames.push_back(device);
      c.notGames.push_back(bios);
    }
  }
  c.xml += "</mame>\n";
  c.history += lateDuplicates;
  c.catver += lateCategories + "\r\n" + verAdded;
  return c;
}

IndexOptions WriteCollection(const zorv::testing::TempFolder& dir, const GeneratedCollection& c) {
  for (const auto& file : c.romFiles) dir.Write("roms/" + file, "PK");
  dir.Write("roms/readme.txt", "");
  return {.listXml = dir.Write("source/list.xml", c.xml).string(),
          .history = dir.Write("datafiles/history.dat", c.history).string(),
          .mameinfo = dir.Write("datafiles/mameinfo.dat", c.mameinfo).string(),
          .catver = dir.Write("source/catver.ini", c.catver).string(),
          .nplayers = dir.Write("source/nplayers.ini", c.nplayers).string(),
          .romFolders = {dir.Str() + "/roms"}, .output = dir.Str() + "/datafiles/index"};
}

}  // namespace zorv::index::testing
