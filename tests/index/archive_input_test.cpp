// Inputs in .zip and .7z archives, made here with libarchive's writer: a good
// archive gives exactly what the plain file gives; a bad one, or an output that
// must not be written, gives one message and leaves every file as it was.
#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "index_builder.h"
#include "platform/run_time_error.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using zorv::testing::TempFolder;

constexpr const char* kTwoGamesList = "<mame><machine name=\"gng\"/><machine name=\"pacman\"/></mame>";
constexpr const char* kTwoGamesHistory = "$info=gng,pacman,\r\n$bio\r\nText.\r\n$end\r\n";

std::string Archive(const char* format, const std::vector<std::pair<std::string, std::string>>& members,
                    const char* passphrase = nullptr) {
  std::string bytes(1 << 16, '\0');
  std::size_t used = 0;
  archive* writer = archive_write_new();
  archive_write_set_format_by_name(writer, format);
  archive_write_set_options(writer, passphrase ? "zip:encryption=zipcrypt" : "");
  if (passphrase) archive_write_set_passphrase(writer, passphrase);
  archive_write_open_memory(writer, bytes.data(), bytes.size(), &used);
  for (const auto& [name, data] : members) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_size(entry, static_cast<la_int64_t>(data.size()));
    archive_write_header(writer, entry);
    archive_write_data(writer, data.data(), data.size());
    archive_entry_free(entry);
  }
  archive_write_free(writer);
  return bytes.substr(0, used);
}

// A zip whose headers claim its member holds 1 GB and a byte.
std::string ZipBomb() {
  std::string zip = Archive("zip", {{"history.dat", kTwoGamesHistory}});
  zip.replace(zip.find("PK\x03\x04") + 22, 4, "\x01\x00\x00\x40", 4);
  zip.replace(zip.find("PK\x01\x02") + 24, 4, "\x01\x00\x00\x40", 4);
  return zip;
}

TEST(ArchiveInput, GivesWhatThePlainFilesGive) {
  TempFolder dir;
  IndexOptions plain, archived;
  plain.listXml = dir.Write("list.xml", kTwoGamesList);
  plain.history = dir.Write("history.dat", kTwoGamesHistory);
  plain.output = dir.Write("plain/index", "").string();
  archived.listXml = dir.Write("list.zip", Archive("zip", {{"mame0251.xml", kTwoGamesList}, {"readme.txt", "r"}}));
  archived.history = dir.Write("h.7z", Archive("7zip", {{"readme.txt", "r"}, {"data/History.dat", kTwoGamesHistory}}));
  archived.output = dir.Write("zipped/index", "").string();
  BuildIndex(plain);
  BuildIndex(archived);
  EXPECT_EQ(dir.Read("zipped/index"), dir.Read("plain/index"));
  EXPECT_EQ(dir.Read("zipped/history.dat"), kTwoGamesHistory);
}

TEST(ArchiveInput, BadArchivesAndForbiddenOutputsChangeNothing) {
  // The history, written as history.zip (history.dat when plain); the message past the folder's path.
  struct BadCase { const char* what; std::string history, message; bool plain = false; std::string output = "out/index"; };
  const std::vector<BadCase> cases = {
      {"not an archive", kTwoGamesHistory, "history.zip: not a .zip or .7z archive"},
      {"empty zip", Archive("zip", {}), "history.zip: the archive is empty"},
      {"truncated zip", Archive("zip", {{"h", kTwoGamesHistory}}).substr(0, 60), "history.zip: the archive ends early (truncated)"},
      {"truncated 7z", Archive("7zip", {{"h", kTwoGamesHistory}}).substr(0, 40), "history.zip: the archive ends early (truncated)"},
      {"encrypted", Archive("zip", {{"history.dat", kTwoGamesHistory}}, "secret"), "history.zip: history.dat is encrypted"},
      {"no candidate", Archive("zip", {{"readme.txt", ""}, {"notes.dat", ""}}),
       "history.zip: cannot tell which file to take; expected history.xml or history.dat, found readme.txt, notes.dat"},
      {"zip bomb", ZipBomb(), "history.zip: history.dat would extract to more than 1073741824 bytes"},
      {"output is an input", kTwoGamesHistory, "history.dat: is the file given to --history; it would be overwritten", true,
       "history.dat"},
      {"output links to an input", kTwoGamesHistory, "out/link: is the file given to --history; it would be overwritten",
       true, "out/link"},
      {"output is a FIFO", kTwoGamesHistory, "out/fifo: exists and is not a regular file; it is left alone", true, "out/fifo"},
  };
  for (const BadCase& c : cases) {
    TempFolder dir;
    const std::string historyName = c.plain ? "history.dat" : "history.zip";
    IndexOptions options;
    options.listXml = dir.Write("list.xml", kTwoGamesList);
    options.history = dir.Write(historyName, c.history);
    options.output = dir.Str() + "/" + c.output;
    dir.Write("out/index", "old index");
    std::filesystem::create_symlink(options.history, dir.Path() / "out/link");
    ::mkfifo((dir.Str() + "/out/fifo").c_str(), 0600);
    try {
      BuildIndex(options);
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.what(), dir.Str() + "/" + c.message) << c.what;
    }
    EXPECT_EQ(dir.Read("out/index"), "old index") << c.what;
    EXPECT_EQ(dir.Read(historyName), c.history) << c.what;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() / "out"), {}), 3) << c.what;
  }
}

}  // namespace
}  // namespace zorv::index
