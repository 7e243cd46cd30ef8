// Pictures that live only in an archive, and clones that borrow their parent's:
// the report is the one the same picture as a file gives, bad archives log.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using Members = std::vector<std::pair<std::string, std::string>>;

std::string Demo(const std::string& file) {
  std::ifstream in(std::string(ZORV_DEMO_DIR) + "/pictures/" + file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One of the archives kept in tests/data/archives (made there by make.sh).
std::string Kept(const std::string& name) {
  std::ifstream in(std::string(ZORV_TEST_DATA_DIR) + "/archives/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A solid snap.7z made by Debian's 7z: 64 KiB of zeros, then gng.png.
std::string SolidSevenZip() {
  testing::TempFolder dir;
  dir.Write("gng.png", Demo("snap/gng.png"));
  testing::RunProgram("cd " + testing::Quoted(dir.Str()) + " && truncate -s 64K a.bin && 7z a -ms=on snap.7z a.bin gng.png >/dev/null");
  return dir.Read("snap.7z");
}

// Made with libarchive's writer: "zip" or "7zip"; a name ending in "/" is a folder.
std::string MakeArchive(const char* format, const Members& members, const char* options = nullptr) {
  archive* writer = archive_write_new();
  archive_write_set_format_by_name(writer, format);
  if (options != nullptr) archive_write_set_options(writer, options), archive_write_set_passphrase(writer, "secret");
  std::vector<char> buffer(1 << 22);
  std::size_t used = 0;
  archive_write_open_memory(writer, buffer.data(), buffer.size(), &used);
  for (const auto& [path, bytes] : members) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, path.c_str());
    archive_entry_set_filetype(entry, path.ends_with('/') ? AE_IFDIR : AE_IFREG);
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    archive_write_header(writer, entry);
    archive_write_data(writer, bytes.data(), bytes.size());
    archive_entry_free(entry);
  }
  archive_write_free(writer);
  return {buffer.data(), used};
}

// A stored zip whose member claims `extra` more bytes than it holds, in both headers.
std::string LyingZip(const std::string& bytes, std::uint32_t extra) {
  std::string zip = MakeArchive("zip", {{"gng.png", bytes}}, nullptr);
  const std::uint32_t size = static_cast<std::uint32_t>(bytes.size()) + extra;
  for (const auto& [signature, at] : {std::pair{std::string("PK\3\4"), 22}, {std::string("PK\1\2"), 24}}) {
    for (std::size_t i = 0; i < 4; ++i) zip[zip.find(signature) + static_cast<std::size_t>(at) + i] = static_cast<char>(size >> (8 * i));
  }
  return zip;
}

class PicturesBeyondTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_CACHE_HOME", (dir.Path() / "cache").c_str(), 1);
    std::filesystem::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report",
                                    dir.Path() / "zorv-report");
    testing::WriteSmallCollection(dir);
    dir.Write("DataFiles/Index", dir.Read("DataFiles/Index").insert(0, "gngj;BGng (Japan);Sgng;C1;D1;R0;L#;P0;Q0,0;U1,9\r\n"
                                                                     "self;BSelf;Sself;C1;R0;L#;P0;Q0,0;U1,9\r\n"
                                                                     "orphan;BOrphan;Snothere;C1;R0;L#;P0;Q0,0;U1,9\r\n"));
  }
  std::string Html(const std::string& rom, const std::string& snapPath = "snap/") {
    dir.Write("Zorv.inf", "SnapPath=" + dir.Str() + "/" + snapPath + "\r\nTitlesPath=" + dir.Str() + "/none/\r\n");
    return testing::RunProgram(testing::Quoted(dir.Str() + "/zorv-report") + " --format html " + rom).Output;
  }
  testing::TempFolder dir;
};

// The archive, its bytes and the SnapPath naming it; the same picture as a file
// in snap/ ("" for none) and its bytes; the log line the archive gives.
struct ArchiveCase {
  const char* archive; std::string bytes; const char* snapPath;
  const char* file; std::string picture; const char* log;
};

// Built without Qt, zorv-report has no loader for JPEG and GIF files: they log
// error 481, out of an archive as from a file.
#if defined(ZORV_REPORT_WITHOUT_QT)
constexpr const char* kOtherFormatLog = "ERROR F - 481\r\n";
#else
constexpr const char* kOtherFormatLog = "";
#endif

TEST_F(PicturesBeyondTest, AnArchivedPictureGivesTheReportItsFileGives) {
  const std::string png = Demo("snap/gng.png"), jpg = Demo("flyers/gng.jpg"), gif = Demo("cabinets/gng.gif");
  const std::string zip = MakeArchive("zip", {{"snap/GNG.PNG", png}});
  const ArchiveCase cases[] = {
      {"snap.zip", zip, "snap/", "gng.png", png, ""},
      {"snap.7z", MakeArchive("7zip", {{"gng.jpg", jpg}, {"gng.gif", gif}}), "snap/", "gng.jpg", jpg, kOtherFormatLog},
      {"art/snap.zip", MakeArchive("zip", {{"x/gng.gif", gif}, {"x/y/gng.png", png}}), "art/snap.zip", "gng.gif", gif,
       kOtherFormatLog},
      {"snap.zip", MakeArchive("zip", {{"gng.png", png.substr(0, 3000)}}), "snap/", "gng.png", png.substr(0, 3000), ""},
      {"snap.zip", MakeArchive("zip", {}), "snap/", "", "", "ERROR F - 62\r\n"},
      {"snap.zip", MakeArchive("zip", {{"gng.png/", ""}, {"gng.png/notes.txt", "x"}}), "snap/", "", "", ""},
      {"snap.zip", "no archive at all", "snap/", "", "", "ERROR F - 75\r\n"},
      {"snap.zip", zip.substr(0, zip.size() / 2), "snap/", "", "", "ERROR F - 62\r\n"},
      {"snap.zip", MakeArchive("zip", {{"gng.png", png}}, "zip:encryption=zipcrypt"), "snap/", "", "", "ERROR F - 75\r\n"},
      {"snap.zip", LyingZip(png, 1000), "snap/", "", "", "ERROR F - 75\r\n"},
      {"snap.7z", SolidSevenZip(), "snap/", "gng.png", png, ""},
      {"snap.7z", Kept("solid-129M.7z"), "snap/", "", "", "ERROR F - 7\r\n"},
      {"snap.zip", Kept("gap.zip"), "snap/", "gng.png", png, ""},
      {"snap.zip", Kept("links.zip"), "snap/", "", "", ""},
  };
  for (const ArchiveCase& c : cases) {
    for (const char* old : {"snap", "art", "snap.zip", "snap.7z"}) std::filesystem::remove_all(dir.Path() / old);
    if (*c.file != '\0') dir.Write(std::string("snap/") + c.file, c.picture);
    const std::string asFile = Html("gng");
    std::filesystem::remove_all(dir.Path() / "snap");
    dir.Write(c.archive, c.bytes);
    std::filesystem::remove(dir.Path() / "Zorv.Log.txt");
    const std::string fromArchive = Html("gng", c.snapPath);
    const std::string log = dir.Read("Zorv.Log.txt");
    EXPECT_EQ(log.substr(std::min(log.size(), log.find("\r\n") + 2)), c.log) << &c - cases;
    EXPECT_TRUE(*c.log != '\0' || fromArchive == asFile) << &c - cases;
  }
}

// The listing a run keeps serves the next runs, and a damaged one is made again.
TEST_F(PicturesBeyondTest, AKeptListingGivesTheSameReport) {
  dir.Write("snap/gng.png", Demo("snap/gng.png"));
  const std::string asFile = Html("gng");
  std::filesystem::remove_all(dir.Path() / "snap");
  dir.Write("snap.zip", MakeArchive("zip", {{"other.png", "x"}, {"SNAP/gng.png", Demo("snap/gng.png")}}, "zip:compression=store"));
  EXPECT_EQ(Html("gng"), asFile);
  const auto kept = std::filesystem::directory_iterator(dir.Path() / "cache/zorvane/archives")->path();
  for (const std::size_t cut : {std::string::npos, std::size_t{200}, std::size_t{0}}) {
    std::filesystem::resize_file(kept, std::min(cut, std::filesystem::file_size(kept)));
    EXPECT_EQ(Html("gng"), asFile) << cut;
  }
  EXPECT_FALSE(dir.Exists("Zorv.Log.txt"));
}

TEST_F(PicturesBeyondTest, AClonesMissingPicturesAreItsParents) {
  dir.Write("snap/gng.png", Demo("snap/gng.png"));
  const std::string gng = Html("gng"), gngj = Html("gngj");
  EXPECT_EQ(gngj.substr(gngj.find("<img"), 10000), gng.substr(gng.find("<img"), 10000));
  for (const char* alone : {"self", "orphan"}) EXPECT_EQ(Html(alone).find("<img"), std::string::npos) << alone;
  EXPECT_FALSE(dir.Exists("Zorv.Log.txt"));
}

}  // namespace
}  // namespace zorv
