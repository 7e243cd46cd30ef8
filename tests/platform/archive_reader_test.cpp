// Archives as Debian's 7z and zip and Python's zipfile make them (at test time, or kept in tests/data/archives
// with the script that made them): every member of a valid archive reads back whole whatever lies before it,
// reaching one costs no more than the limit, and a listing kept between runs is believed only as far as the
// archive bears it out.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/archive/archive_reader.h"
#include "platform/archive/kept_archive_listing.h"
#include "platform/run_time_error.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

constexpr std::uint64_t kLimit = std::uint64_t{128} << 20;
const std::string kArchives = std::string(ZORV_TEST_DATA_DIR) + "/archives/";

std::string Picture(const std::string& name) {
  std::ifstream in(std::string(ZORV_DEMO_DIR) + "/pictures/snap/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the shell command in `folder`, where it makes an archive.
void Make(const TempFolder& folder, const std::string& command) {
  const auto made = testing::RunProgram("cd " + testing::Quoted(folder.Str()) + " && (" + command + ") >/dev/null 2>&1");
  ASSERT_EQ(made.ExitStatus, 0) << command;
}

// The error number reading `member` gives, 0 when it reads back as `expected`.
int ReadOutcome(const ArchiveReader& archive, const std::string& member, std::uint64_t limit, const std::string& expected,
                std::stop_token stop = {}) {
  try {
    return archive.Read(member, limit, std::move(stop)) == expected ? 0 : -1;
  } catch (const RunTimeError& failure) {
    return failure.Number();
  }
}

std::vector<std::string> Paths(const ArchiveReader& archive) {
  std::vector<std::string> paths;
  for (const ArchiveMember& member : archive.Members()) paths.push_back(member.path);
  return paths;
}

TEST(SevenZip, GivesAMemberWhateverItsSolidBlockHoldsBeforeIt) {
  // libarchive's own skip fails when what it skips in a block is a whole number of 64 KiB.
  const char* before[] = {"truncate -s 64K a.bin",    "truncate -s 128K a.bin", "truncate -s 65535 a.bin",
                          "truncate -s 65537 a.bin",  "truncate -s 100K a.bin", "touch a.bin",
                          "head -c 32K /dev/urandom > a.bin && head -c 32K /dev/urandom > b.bin"};
  for (const char* make : before) {
    TempFolder dir;
    dir.Write("gng.png", Picture("gng.png"));
    Make(dir, std::string(make) + " && touch -a b.bin && 7z a -ms=on snap.7z a.bin b.bin gng.png && 7z t snap.7z");
    const ArchiveReader archive(dir.Path() / "snap.7z");
    ASSERT_EQ(Paths(archive).back(), "gng.png") << make;
    EXPECT_EQ(ReadOutcome(archive, "gng.png", kLimit, Picture("gng.png")), 0) << make;
  }
}

TEST(ArchiveLimit, HoldsForWhatIsDecompressedToReachAMember) {
  // A zip behind a program stub (as a self-extracting archive is) goes through libarchive too, which seeks
  // over its members.
  TempFolder dir;
  dir.Write("gng.png", Picture("gng.png"));
  Make(dir, "truncate -s 64M blank.bin && zip zipped.zip blank.bin gng.png && echo stub | cat - zipped.zip > "
            "stubbed.zip && zip -A stubbed.zip");
  struct Row {
    std::string archive;  // gng.png behind that many zeros (in its solid block)
    std::uint64_t limit;
    int error;
  };
  const Row rows[] = {{kArchives + "solid-64M.7z", kLimit, 0},
                      {kArchives + "solid-64M.7z", 32 << 20, 7},
                      {kArchives + "solid-129M.7z", kLimit, 7},
                      {dir.Str() + "/stubbed.zip", 32 << 20, 0}};
  for (const Row& row : rows) {
    const ArchiveReader archive(row.archive);
    ASSERT_EQ(Paths(archive).back(), "gng.png") << row.archive;
    EXPECT_EQ(ReadOutcome(archive, "gng.png", row.limit, Picture("gng.png")), row.error) << row.archive;
  }
  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(ReadOutcome(ArchiveReader(kArchives + "solid-64M.7z"), "gng.png", kLimit, "", stop.get_token()), 18);
}

TEST(SevenZip, ACutOrDamagedArchiveGivesItsNumber) {
  TempFolder dir;
  Make(dir, "head -c 300K /dev/urandom > a.bin && 7z a -ms=on whole.7z a.bin");
  const std::string whole = dir.Read("whole.7z");
  std::string damaged = whole;
  for (std::size_t i = 100; i < 200; ++i) damaged[whole.size() / 2 + i] ^= 0x5A;
  const std::pair<std::string, int> rows[] = {{whole.substr(0, whole.size() / 2), 62}, {damaged, 75}};
  for (const auto& [bytes, error] : rows) {
    try {
      EXPECT_EQ(ReadOutcome(ArchiveReader(dir.Write("snap.7z", bytes)), "a.bin", kLimit, ""), error) << bytes.size();
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.Number(), error) << bytes.size();
    }
  }
}

// Links and folders whose names look like pictures are no members, however the archive is listed.
TEST(ZipMembers, AreRegularFilesOnly) {
  TempFolder dir;
  ::setenv("XDG_CACHE_HOME", (dir.Path() / "cache").c_str(), 1);
  dir.Write("starfort.png", Picture("starfort.png"));
  Make(dir, "ln -s starfort.png gng.png && mkdir tinyrace.png && zip --symlinks -r zipped.zip gng.png starfort.png tinyrace.png"
            " && 7z a -snl linked.7z gng.png starfort.png tinyrace.png >/dev/null");
  fs::copy_file(kArchives + "links.zip", dir.Path() / "links.zip");
  for (const char* archive : {"zipped.zip", "links.zip", "linked.7z"}) {
    // Kept between runs: listed by libzip while the listing is made, then from that listing.
    for (const ZipListing listing : {ZipListing::kThisRun, ZipListing::kKeptBetweenRuns, ZipListing::kKeptBetweenRuns}) {
      EXPECT_EQ(Paths(ArchiveReader(dir.Path() / archive, listing)), std::vector<std::string>{"starfort.png"}) << archive;
    }
  }
}

class KeptListingTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CACHE_HOME", Folder().c_str(), 1); }
  fs::path Folder() const { return dir.Path() / "cache"; }
  // The one listing kept (named after the archive's path), and what it holds; none gives "".
  fs::path KeptFile() const {
    std::error_code none;
    for (const auto& file : fs::recursive_directory_iterator(Folder(), none))
      if (file.is_regular_file()) return file.path();
    return {};
  }
  std::string Kept() const { return KeptFile().empty() ? "" : dir.Read(fs::relative(KeptFile(), dir.Path())); }
  std::string Read(const fs::path& archive, const std::string& member = "gng.png") const {
    return ArchiveReader(archive, ZipListing::kKeptBetweenRuns).Read(member, kLimit);
  }
  TempFolder dir;
};

TEST_F(KeptListingTest, PlacesEachMemberAtItsLocalHeader) {
  // gng.png's header starts 10 bytes before the 64 KiB the listing's pass reads at a time, and ends after them.
  dir.Write("gng.png", Picture("gng.png"));
  Make(dir, "python3 -c \"import zipfile; z = zipfile.ZipFile('straddle.zip', 'w'); z.writestr('a.bin', bytes(65491)); "
            "z.write('gng.png'); z.close()\"");
  const std::pair<const char*, const char*> rows[] = {
      // 100 bytes lie between the two members; the central directory has gng.png's header at 1774.
      {"gap.zip", "\n1774 5556 gng.png\n"},
      // Each member's data is followed by a data descriptor.
      {"descriptors.zip", "\n1685 5556 gng.png\n"},
      // The 100 bytes begin like an entry of the central directory.
      {"gap-signature.zip", "\n1774 5556 gng.png\n"},
      {"straddle.zip", "\n65526 5556 gng.png\n"},
  };
  for (const auto& [name, line] : rows) {
    const fs::path archive = dir.Path() / name;
    if (!fs::exists(archive)) fs::copy_file(kArchives + name, archive);
    EXPECT_EQ(Read(archive), Picture("gng.png")) << name;
    EXPECT_EQ(Read(archive), Picture("gng.png")) << name;
    EXPECT_NE(Kept().find(line), std::string::npos) << name << ": " << Kept();
    fs::remove_all(Folder());
  }
}

// A zip whose local header gives a member more bytes than the file has left: libzip reads it by its central
// directory, and a listing made from the local headers, which would not, is never kept.
TEST_F(KeptListingTest, IsKeptOnlyWhereTheLocalHeadersAgreeWithTheCentralDirectory) {
  dir.Write("gng.png", Picture("gng.png"));
  Make(dir, "python3 -c \"import zipfile; z = zipfile.ZipFile('snap.zip', 'w'); z.write('gng.png'); z.close(); "
            "f = open('snap.zip', 'r+b'); f.seek(18); f.write((10 ** 6).to_bytes(4, 'little') * 2)\"");
  EXPECT_EQ(Read(dir.Path() / "snap.zip"), Picture("gng.png"));
  EXPECT_EQ(Read(dir.Path() / "snap.zip"), Picture("gng.png"));
  EXPECT_EQ(Kept(), "");
}

// What a run may find in the cache in place of the listing kept for a zip made by Debian's zip, or by Python's
// zipfile writing to a pipe (each member's sizes after its data): each run reads the right picture without
// reading more of the listing than the archive's entries can fill, and the listing is made anew.
TEST_F(KeptListingTest, ThatDoesNotDescribeTheArchiveIsMadeAnew) {
  dir.Write("gng.png", Picture("gng.png"));
  dir.Write("starfort.png", Picture("starfort.png"));
  const std::string makes[] = {"zip -q snap.zip starfort.png gng.png", "cp " + kArchives + "descriptors.zip snap.zip"};
  for (const std::string& make : makes) {
    const fs::path archive = dir.Path() / "snap.zip";
    fs::remove(archive);
    Make(dir, make);
    ASSERT_EQ(Read(archive), Picture("gng.png"));
    const std::string good = Kept();
    const auto fingerprint = FingerprintOf(archive);
    ASSERT_TRUE(fingerprint);
    // The head's four lines, then starfort.png's and gng.png's.
    std::size_t linesAt = 0;
    for (int line = 0; line < 4; ++line) linesAt = good.find('\n', linesAt) + 1;
    const std::string head = good.substr(0, linesAt);
    const std::string starfort = good.substr(linesAt, good.find('\n', linesAt) + 1 - linesAt);
    const std::string gng = good.substr(linesAt + starfort.size());
    const std::uint64_t gngOffset = std::stoull(gng);
    const auto gngAt = [&](std::uint64_t offset) { return std::to_string(offset) + gng.substr(gng.find(' ')); };
    const auto sealed = [&](const std::string& lines) { return SealedListing(*fingerprint, lines); };
    std::string fakeLines;
    for (int line = 0; line < 3'000'000; ++line) fakeLines += std::to_string(line) + " 1 a.png\n";
    struct Row {
      const char* damage;
      std::string listing;
      std::uint64_t size = 0;  // the kept file's size, when larger than what it holds
    };
    const Row rows[] = {
        {"a sparse file of 5 GiB", good, std::uint64_t{5} << 30},
        {"3 million lines", sealed(fakeLines)},
        {"cut short", good.substr(0, good.size() - 3)},
        {"a line dropped", head + gng},
        {"a name changed", head + starfort + gng.substr(0, gng.size() - 8) + "gnx.png\n"},
        {"an offset changed", head + starfort + gngAt(gngOffset + 1)},
        // Made so that its checksum holds: the archive's figures and the local headers tell.
        {"a line dropped, its checksum made anew", sealed(gng)},
        {"a line added, its checksum made anew", sealed(starfort + gng + std::to_string(gngOffset + 100) + " 1 a.png\n")},
        {"gng.png placed past the central directory", sealed(starfort + gngAt(99999))},
        {"gng.png placed inside starfort.png's data", sealed(starfort + gngAt(1000))},
        {"gng.png placed 16 bytes early", sealed(starfort + gngAt(gngOffset - 16))},
        {"each placed at the other's header",
         sealed("0" + gng.substr(gng.find(' ')) + std::to_string(gngOffset) + starfort.substr(starfort.find(' ')))},
    };
    for (const Row& row : rows) {
      const fs::path kept = KeptFile();
      dir.Write(fs::relative(kept, dir.Path()), row.listing);
      if (row.size) fs::resize_file(kept, row.size);
      rusage before{};
      ::getrusage(RUSAGE_SELF, &before);
      EXPECT_EQ(Read(archive), Picture("gng.png")) << make << ": " << row.damage;
      rusage after{};
      ::getrusage(RUSAGE_SELF, &after);
      EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 << 10) << make << ": " << row.damage << ": KiB more at the peak";
      EXPECT_EQ(Kept(), good) << make << ": " << row.damage;
      EXPECT_EQ(Read(archive, "starfort.png"), Picture("starfort.png")) << make << ": " << row.damage;
    }
    fs::remove_all(Folder());
  }
}

// Where a listing's checksum holds, what it names is believed; no place it gives serves another member.
TEST_F(KeptListingTest, ThatRenamesAMemberWithItsChecksumMadeAnewServesNothingElse) {
  const fs::path archive = dir.Path() / "snap.zip";
  fs::copy_file(kArchives + "gap.zip", archive);
  ASSERT_EQ(Read(archive), Picture("gng.png"));
  dir.Write(fs::relative(KeptFile(), dir.Path()),
            SealedListing(*FingerprintOf(archive), "0 1627 starfort.png\n1774 5556 gnx.png\n"));
  const ArchiveReader renamed(archive, ZipListing::kKeptBetweenRuns);
  EXPECT_EQ(Paths(renamed), (std::vector<std::string>{"starfort.png", "gnx.png"}));
  EXPECT_EQ(ReadOutcome(renamed, "gnx.png", kLimit, ""), 53);
}

}  // namespace
}  // namespace zorv
