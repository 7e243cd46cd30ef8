// Looking a game's picture up in a snap.zip of 50,000 pictures, one folder
// down, as collectors' archives hold them. A run's first look-up reads the
// listing kept by an earlier run. When the archive changed (or no run has seen
// it) libzip lists it from its central directory and the picture is read at
// once, while the listing is made on a thread of its own (libarchive's pass
// over the central directory and each member's local header, whether a
// member's sizes come before or after its data) and kept. Later look-ups find
// the name in that listing; reading the picture goes straight to its offset.
// The references are libzip opening the same archive and libarchive's seekable
// zip reader listing it, and walking it to the last picture and reading that.
// The stages of a first run are timed one by one. The whole run, as a front end
// starts it, is timed by run.sh beside this file.
#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/archive/archive_reader.h"
#include "platform/archive/kept_archive_listing.h"
#include "platform/archive/listing_keeper.h"
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

// A changed time stamp makes the kept listing stale; changing it is not timed.
void Touch(benchmark::State& state, const fs::path& file) {
  state.PauseTiming();
  fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(1));
  state.ResumeTiming();
}

constexpr std::uint64_t kLimit = std::uint64_t{128} << 20;

// The last game's picture, found as a run finds it: a pass over the names.
std::string LastPicture(const zorv::ArchiveReader& reader) {
  const std::string wanted = kLastGame + ".png";
  const auto& members = reader.Members();
  return std::find_if(members.begin(), members.end(), [&](const zorv::ArchiveMember& member) {
           return member.path.ends_with(wanted);
         })->path;
}

// A run's first look-up, the archive having changed since the last run: the
// archive listed, the picture found and read. The listing being made beside it is waited for
// outside the timing.
void BM_FirstLookupOfAChangedArchive(benchmark::State& state) {
  const SnapArchive& snaps = Snaps(state.range(0) != 0);
  for (auto _ : state) {
    Touch(state, snaps.Archive());
    auto reader = std::make_unique<zorv::ArchiveReader>(snaps.Archive(), zorv::ZipListing::kKeptBetweenRuns);
    benchmark::DoNotOptimize(reader->Read(LastPicture(*reader), kLimit));
    state.PauseTiming();
    reader.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstLookupOfAChangedArchive)->ArgName("sizes_after_data")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same with everything that run spends on the archive: the listing made
// and kept on its own thread, libzip's handle freed at the end (process time).
void BM_FirstRunOfAChangedArchiveWithItsListingKept(benchmark::State& state) {
  const SnapArchive& snaps = Snaps(state.range(0) != 0);
  for (auto _ : state) {
    Touch(state, snaps.Archive());
    const zorv::ArchiveReader reader(snaps.Archive(), zorv::ZipListing::kKeptBetweenRuns);
    benchmark::DoNotOptimize(reader.Read(LastPicture(reader), kLimit));
  }
}
BENCHMARK(BM_FirstRunOfAChangedArchiveWithItsListingKept)
    ->ArgName("sizes_after_data")->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The stages of that first run, one by one: the archive's identity and end
// record; libzip's opening and its list of members; and, on the listing's own
// thread, libarchive's pass that places every entry, and the listing written.
void BM_StageFingerprint(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zorv::FingerprintOf(Snaps().Archive()));
}
BENCHMARK(BM_StageFingerprint)->Unit(benchmark::kMillisecond);

void BM_StageLibzipListing(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zorv::ArchiveReader(Snaps().Archive()).Members().size());
}
BENCHMARK(BM_StageLibzipListing)->Unit(benchmark::kMillisecond);

void BM_StagePlaceEveryEntry(benchmark::State& state) {
  const auto fingerprint = zorv::FingerprintOf(Snaps().Archive());
  for (auto _ : state) benchmark::DoNotOptimize(zorv::PlaceZipEntries(*fingerprint));
}
BENCHMARK(BM_StagePlaceEveryEntry)->Unit(benchmark::kMillisecond);

void BM_StageKeepTheListing(benchmark::State& state) {
  const auto fingerprint = zorv::FingerprintOf(Snaps().Archive());
  const auto placed = zorv::PlaceZipEntries(*fingerprint);
  for (auto _ : state) zorv::KeepListing(*fingerprint, *placed);
}
BENCHMARK(BM_StageKeepTheListing)->Unit(benchmark::kMillisecond);

void BM_StageLoadTheKeptListing(benchmark::State& state) {
  const auto fingerprint = zorv::FingerprintOf(Snaps().Archive());
  zorv::KeepListing(*fingerprint, *zorv::PlaceZipEntries(*fingerprint));
  for (auto _ : state) benchmark::DoNotOptimize(zorv::LoadKeptListing(*fingerprint));
}
BENCHMARK(BM_StageLoadTheKeptListing)->Unit(benchmark::kMillisecond);

// A run's first look-up of the same archive: the listing an earlier run kept,
// and the pass that finds the game in it (a run keeps its listings in the
// process; this builds the reader as that first look-up does).
void BM_FirstLookupWithTheKeptListing(benchmark::State& state) {
  // Kept once this reader is gone.
  zorv::ArchiveReader(Snaps().Archive(), zorv::ZipListing::kKeptBetweenRuns);
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

// libzip's opening, the picture located and read, its handle kept (as a run
// keeps it until it ends).
void BM_ReferenceLibzipOpeningAndReading(benchmark::State& state) {
  std::string data(4096, '\0');
  for (auto _ : state) {
    int error = 0;
    zip_t* handle = zip_open(Snaps().Archive().c_str(), ZIP_RDONLY, &error);
    zip_file_t* file = zip_fopen_index(handle, zip_name_locate(handle, ("snap/" + kLastGame + ".png").c_str(), 0), 0);
    while (zip_fread(file, data.data(), data.size()) > 0) {
    }
    zip_fclose(file);
    state.PauseTiming();
    zip_discard(handle);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReferenceLibzipOpeningAndReading)->Unit(benchmark::kMillisecond);

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
