// Looking a game's picture up in a snap.zip of 50,000 pictures, one folder
// down, as collectors' archives hold them. A run's first look-up reads the
// listing kept by an earlier run; when the archive changed it makes the listing
// anew (libarchive's pass over the central directory and each member's local
// header, whether a member's sizes come before or after its data) and keeps
// it. Later look-ups find the name in that listing; reading the
// picture goes straight to its offset. The references are libzip opening the
// same archive and libarchive's seekable zip reader listing it, and walking it
// to the last picture and reading that. The whole run, as a front end starts
// it, is timed by run.sh beside this file.
#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/archive/archive_reader.h"
#include "platform/local_time_zone.h"
#include "startup/picture_archives.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPictures = 50'000;
const std::string kLastGame = "game49999";

// Stored members carry their sizes in their local headers; libarchive's
// writer puts a deflated member's sizes after its data.
class SnapArchive {
 public:
  explicit SnapArchive(bool sizesAfterData)
      : folder_(fs::temp_directory_path() / ("zorv-archive-bench-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(sizesAfterData))) {
    fs::create_directories(folder_);
    ::setenv("XDG_CACHE_HOME", (fs::temp_directory_path() / ("zorv-archive-bench-cache-" + std::to_string(::getpid()))).c_str(), 1);
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    if (!sizesAfterData) archive_write_set_options(writer, "zip:compression=store");
    archive_write_open_filename(writer, (folder_ / "snap.zip").c_str());
    const std::string picture(2000, 'p');
    for (int i = 0; i < kPictures; ++i) {
      archive_entry* entry = archive_entry_new();
      archive_entry_set_pathname(entry, ("snap/game" + std::to_string(i) + ".png").c_str());
      archive_entry_set_filetype(entry, AE_IFREG);
      archive_entry_set_perm(entry, 0644);
      archive_entry_set_size(entry, static_cast<la_int64_t>(picture.size()));
      archive_write_header(writer, entry);
      archive_write_data(writer, picture.data(), picture.size());
      archive_entry_free(entry);
    }
    archive_write_free(writer);
  }
  ~SnapArchive() {
    fs::remove_all(folder_);
    fs::remove_all(std::getenv("XDG_CACHE_HOME"));
  }
  // The configured snapshot folder, beside which snap.zip lies.
  std::string Folder() const { return (folder_ / "snap").string() + "\\"; }
  fs::path Archive() const { return folder_ / "snap.zip"; }

 private:
  fs::path folder_;
};

const SnapArchive& Snaps(bool sizesAfterData = false) {
  static const SnapArchive stored(false), deflated(true);
  return sizesAfterData ? deflated : stored;
}

void Touch(const fs::path& file) { fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(1)); }

// A run's first look-up, the archive having changed since the last run: a
// changed time stamp makes the kept listing stale.
void BM_FirstLookupOfAChangedArchive(benchmark::State& state) {
  zorv::SharedState shared;
  const SnapArchive& snaps = Snaps(state.range(0) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    Touch(snaps.Archive());
    state.ResumeTiming();
    benchmark::DoNotOptimize(zorv::FindArchivePicture(shared, snaps.Folder(), kLastGame));
  }
}
BENCHMARK(BM_FirstLookupOfAChangedArchive)->ArgName("sizes_after_data")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A run's first look-up of the same archive: the listing an earlier run kept,
// and the pass that finds the game in it (a run keeps its listings in the
// process; this builds the reader as that first look-up does).
void BM_FirstLookupWithTheKeptListing(benchmark::State& state) {
  const zorv::ArchiveReader warm(Snaps().Archive(), zorv::ZipListing::kKeptBetweenRuns);
  const std::string wanted = kLastGame + ".png";
  for (auto _ : state) {
    const zorv::ArchiveReader reader(Snaps().Archive(), zorv::ZipListing::kKeptBetweenRuns);
    const auto& members = reader.Members();
    benchmark::DoNotOptimize(std::find_if(members.begin(), members.end(), [&](const zorv::ArchiveMember& member) {
      return member.path.ends_with(wanted);
    }));
  }
}
BENCHMARK(BM_FirstLookupWithTheKeptListing)->Unit(benchmark::kMillisecond);

void BM_LookupOfAGame(benchmark::State& state) {
  zorv::SharedState shared;
  for (auto _ : state) benchmark::DoNotOptimize(zorv::FindArchivePicture(shared, Snaps().Folder(), kLastGame));
}
BENCHMARK(BM_LookupOfAGame)->Unit(benchmark::kMillisecond);

void BM_ReadTheLastPicture(benchmark::State& state) {
  zorv::SharedState shared;
  const std::string picture = zorv::FindArchivePicture(shared, Snaps().Folder(), kLastGame);
  for (auto _ : state) benchmark::DoNotOptimize(zorv::ReadArchivePicture(picture));
}
BENCHMARK(BM_ReadTheLastPicture)->Unit(benchmark::kMillisecond);

void BM_ReferenceLibzipOpening(benchmark::State& state) {
  for (auto _ : state) {
    int error = 0;
    zip_t* handle = zip_open(Snaps().Archive().c_str(), ZIP_RDONLY, &error);
    benchmark::DoNotOptimize(zip_name_locate(handle, ("snap/" + kLastGame + ".png").c_str(), 0));
    zip_discard(handle);
  }
}
BENCHMARK(BM_ReferenceLibzipOpening)->Unit(benchmark::kMillisecond);

// libarchive's pass over the archive's entries, up to the one named `last`
// (none: every entry), whose data it then reads.
std::size_t LibarchivePass(const char* last) {
  archive* reader = archive_read_new();
  archive_read_support_format_zip_seekable(reader);
  archive_read_open_filename(reader, Snaps().Archive().c_str(), 64 * 1024);
  std::size_t entries = 0;
  archive_entry* entry = nullptr;
  std::string data(4096, '\0');
  while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
    ++entries;
    if (last != nullptr && std::string_view(archive_entry_pathname(entry)) == last) {
      entries += static_cast<std::size_t>(archive_read_data(reader, data.data(), data.size()));
      break;
    }
  }
  archive_read_free(reader);
  return entries;
}

void BM_ReferenceLibarchiveListing(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LibarchivePass(nullptr));
}
BENCHMARK(BM_ReferenceLibarchiveListing)->Unit(benchmark::kMillisecond);

void BM_ReferenceLibarchiveReadingTheLastPicture(benchmark::State& state) {
  const std::string last = "snap/" + kLastGame + ".png";
  for (auto _ : state) benchmark::DoNotOptimize(LibarchivePass(last.c_str()));
}
BENCHMARK(BM_ReferenceLibarchiveReadingTheLastPicture)->Unit(benchmark::kMillisecond);

}  // namespace

// As the programs start.
int main(int argc, char** argv) {
  zorv::KeepLocalTimeZone();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
