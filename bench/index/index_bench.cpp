// zorv-index on a full-size collection: a game list of 45,000 machines and
// about 250 MB, a 40 MB history.dat and a 10 MB mameinfo.dat, all generated.
// The tool runs as its own process so that its time and peak memory are its
// own; a bare expat pass over the same list (no handlers doing any work) is
// the yardstick the time is compared with. The same run with the history given
// as history.xml shows what converting it costs.
#include <expat.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/prose.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kMachines = 45'000;
constexpr int kDeviceEvery = 8;  // about 5,600 devices, as in a real list
constexpr std::uint64_t kHistoryBytes = 40u << 20;
constexpr std::uint64_t kMameinfoBytes = 10u << 20;

std::string Name(int i) { return "game" + std::to_string(i); }

using zorv::bench::Prose;

void WriteGameList(const fs::path& path, std::mt19937& random) {
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\"?>\n<mame build=\"0.251 (bench)\" debug=\"no\" mameconfig=\"10\">\n";
  std::string m;
  for (int i = 0; i < kMachines; ++i) {
    m.clear();
    if (i % kDeviceEvery == 7) {
      m += "\t<machine name=\"dev" + std::to_string(i) + "\" sourcefile=\"devices/d.cpp\" isdevice=\"yes\" runnable=\"no\">\n"
           "\t\t<description>Device " + std::to_string(i) + "</description>\n\t</machine>\n";
      out << m;
      continue;
    }
    m += "\t<machine name=\"" + Name(i) + "\" sourcefile=\"maker" + std::to_string(i % 60) + "/drv" +
         std::to_string(i % 900) + ".cpp\"" + (i % 3 == 1 ? " cloneof=\"" + Name(i - 1) + "\" romof=\"" + Name(i - 1) + "\"" : "") + ">\n";
    m += "\t\t<description>Game " + std::to_string(i) + " (World, set 1) caf&#233;</description>\n";
    m += "\t\t<year>19" + std::to_string(70 + i % 30) + "</year>\n";
    m += "\t\t<manufacturer>Maker " + std::to_string(i % 300) + "</manufacturer>\n";
    for (int r = 0; r < 27; ++r) {
      m += "\t\t<rom name=\"rom" + std::to_string(r) + ".bin\" size=\"16384\" crc=\"" + std::to_string(random() % 100000000) +
           "\" sha1=\"0123456789abcdef0123456789abcdef01234567\" region=\"maincpu\" offset=\"" + std::to_string(r * 16384) + "\"/>\n";
    }
    m += "\t\t<chip type=\"cpu\" tag=\"maincpu\" name=\"Motorola M6809\" clock=\"1500000\"/>\n";
    m += "\t\t<display tag=\"screen\" type=\"raster\" rotate=\"" + std::to_string((i % 4) * 90) +
         "\" width=\"256\" height=\"224\" refresh=\"59.637405\" pixclock=\"6000000\" htotal=\"384\" hbend=\"128\" hbstart=\"384\" vtotal=\"262\" vbend=\"22\" vbstart=\"246\"/>\n";
    m += "\t\t<sound channels=\"1\"/>\n";
    m += "\t\t<input players=\"2\" coins=\"2\">\n\t\t\t<control type=\"joy\" player=\"1\" buttons=\"" +
         std::to_string(1 + i % 6) + "\" ways=\"8\"/>\n\t\t\t<control type=\"joy\" player=\"2\" buttons=\"2\" ways=\"8\"/>\n\t\t</input>\n";
    for (int d = 0; d < 3; ++d) {
      m += "\t\t<dipswitch name=\"Coinage " + std::to_string(d) + "\" tag=\"DSW" + std::to_string(d) + "\" mask=\"15\">\n";
      for (int v = 0; v < 8; ++v) {
        m += "\t\t\t<diplocation name=\"SW1\" number=\"" + std::to_string(v + 1) + "\"/>\n";
        m += "\t\t\t<dipvalue name=\"" + std::to_string(v + 1) + " Coin/1 Credit\" value=\"" + std::to_string(v) + "\"" +
             (v == 0 ? " default=\"yes\"" : "") + "/>\n";
      }
      m += "\t\t</dipswitch>\n";
    }
    m += "\t\t<driver status=\"good\" emulation=\"good\" savestate=\"supported\"/>\n\t</machine>\n";
    out << m;
  }
  out << "</mame>\n";
}

void WriteDataFile(const fs::path& path, const char* marker, std::uint64_t bytes, std::mt19937& random) {
  std::ofstream out(path, std::ios::binary);
  out << "## generated for the benchmark\r\n\r\n";
  std::uint64_t written = 0;
  for (int i = 0; written < bytes; i = (i + 1) % kMachines) {
    std::string names = Name(i) + ",";
    if (i + 1 < kMachines) names += Name(i + 1) + ",";
    const std::size_t size = bytes / (kMachines / 2);
    const std::string entry = "$info=" + names + "\r\n" + marker + "\r\n\r\n" + Prose(random, size) +
                              "\r\n\r\n- TRIVIA -\r\n\r\n" + Prose(random, 80) + "\r\n$end\r\n\r\n";
    out << entry;
    written += entry.size();
    ++i;
  }
}

std::string XmlEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c != '\r') out += c;  // XML carries line ends as LF
  }
  return out;
}

// The same entries as history.dat, in today's XML form.
void WriteHistoryXml(const fs::path& classic, const fs::path& path) {
  std::ifstream in(classic, std::ios::binary);
  const std::string dat{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<history version=\"bench\">\n";
  for (std::size_t at = dat.find("$info="); at != std::string::npos; at = dat.find("$info=", at + 1)) {
    const std::size_t namesEnd = dat.find("\r\n", at);
    const std::size_t textStart = dat.find("$bio\r\n", namesEnd) + 6;
    const std::size_t textEnd = dat.find("\r\n$end", textStart);
    out << "\t<entry>\n\t\t<systems>\n";
    std::string_view names(dat.data() + at + 6, namesEnd - at - 6);
    for (std::size_t comma; (comma = names.find(',')) != std::string_view::npos; names.remove_prefix(comma + 1)) {
      out << "\t\t\t<system name=\"" << names.substr(0, comma) << "\" />\n";
    }
    out << "\t\t</systems>\n\t\t<text>" << XmlEscaped({dat.data() + textStart, textEnd - textStart}) << "</text>\n\t</entry>\n";
  }
  out << "</history>\n";
}

struct Measured {
  double seconds;
  double cpuSeconds;  // user + system: what the run costs whatever else the machine does
  long peakKilobytes;
  int status;
};

Measured RunTool(const std::vector<std::string>& arguments, const fs::path& errors) {
  std::vector<char*> argv;
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return {0, 0, 0, -1};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return {seconds, cpu(usage.ru_utime) + cpu(usage.ru_stime), usage.ru_maxrss,
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The yardstick: expat over the same bytes, in the same 1 MB pieces, with
// handlers that do nothing.
double BareExpatCpuSeconds(const fs::path& list) {
  const std::clock_t start = std::clock();
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetElementHandler(parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
  std::ifstream in(list, std::ios::binary);
  std::vector<char> buffer(1u << 20);
  for (;;) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<int>(in.gcount());
    if (XML_Parse(parser, buffer.data(), got, got == 0) != XML_STATUS_OK) break;
    if (got == 0) break;
  }
  XML_ParserFree(parser);
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double Megabytes(const fs::path& p) { return static_cast<double>(fs::file_size(p)) / (1 << 20); }

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("zorv-index-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::mt19937 random(11);
  std::printf("generating inputs in %s ...\n", folder.c_str());
  WriteGameList(folder / "list.xml", random);
  WriteDataFile(folder / "history.dat", "$bio", kHistoryBytes, random);
  WriteDataFile(folder / "mameinfo.dat", "$mame", kMameinfoBytes, random);
  WriteHistoryXml(folder / "history.dat", folder / "history.xml");
  std::printf("game list %.1f MB (%d machines), history.dat %.1f MB (history.xml %.1f MB), mameinfo.dat %.1f MB\n",
              Megabytes(folder / "list.xml"), kMachines, Megabytes(folder / "history.dat"),
              Megabytes(folder / "history.xml"), Megabytes(folder / "mameinfo.dat"));

  const std::vector<std::string> arguments = {ZORV_INDEX_TOOL,
                                              "--listxml", (folder / "list.xml").string(),
                                              "--history", (folder / "history.dat").string(),
                                              "--mameinfo", (folder / "mameinfo.dat").string(),
                                              "--output", (folder / "index").string()};
  std::vector<std::string> fromXml = arguments;
  fromXml[4] = (folder / "history.xml").string();
  fromXml[8] = (folder / "xml" / "index").string();
  fs::create_directories(folder / "xml");
  std::vector<Measured> runs;
  std::vector<Measured> xmlRuns;
  for (int run = 0; run < 3; ++run) {
    runs.push_back(RunTool(arguments, folder / "stderr.txt"));
    xmlRuns.push_back(RunTool(fromXml, folder / "stderr.txt"));
  }
  std::vector<double> bare;
  for (int run = 0; run < 3; ++run) bare.push_back(BareExpatCpuSeconds(folder / "list.xml"));
  std::sort(bare.begin(), bare.end());
  const auto byCpu = [](const Measured& a, const Measured& b) { return a.cpuSeconds < b.cpuSeconds; };
  std::sort(runs.begin(), runs.end(), byCpu);
  std::sort(xmlRuns.begin(), xmlRuns.end(), byCpu);

  int failures = 0;
  long peak = 0;
  for (const auto* set : {&runs, &xmlRuns}) {
    for (const Measured& m : *set) {
      failures += m.status != 0;
      peak = std::max(peak, m.peakKilobytes);
    }
  }
  const Measured& median = runs[1];
  const Measured& xmlMedian = xmlRuns[1];
  std::printf("zorv-index   median %.2f s CPU, %.2f s wall (best %.2f s CPU), peak memory %.1f MB, index %.1f MB%s\n",
              median.cpuSeconds, median.seconds, runs[0].cpuSeconds, peak / 1024.0, Megabytes(folder / "index"),
              failures ? ", FAILED" : "");
  std::printf("from XML     median %.2f s CPU, %.2f s wall: history.xml adds %.2f s CPU\n", xmlMedian.cpuSeconds,
              xmlMedian.seconds, xmlMedian.cpuSeconds - median.cpuSeconds);
  std::printf("bare expat   median %.2f s CPU over the same list\n", bare[1]);
  std::printf("ratio        zorv-index / bare expat = %.2f (CPU time)\n", median.cpuSeconds / bare[1]);
  std::printf("targets      under 10 s: %s, under 200 MB: %s, XML adds under 2 s: %s\n",
              std::max(median.seconds, xmlMedian.seconds) < 10 ? "yes" : "NO", peak < 200 * 1024 ? "yes" : "NO",
              xmlMedian.cpuSeconds - median.cpuSeconds < 2 ? "yes" : "NO");
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return failures ? 1 : 0;
}
