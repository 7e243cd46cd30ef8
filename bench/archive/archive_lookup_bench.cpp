// Looking a game's picture up in a snap.zip of 50,000 pictures, one folder
// down, as collectors' archives hold them: the first lookup of a run lists the
// archive, later ones find the name in that listing; reading the picture walks
// the archive to it. The reference is libarchive listing the same archive.
#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/archive_reader.h"
#include "startup/picture_archives.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPictures = 50'000;
const std::string kLastGame = "game49999";

class SnapArchive {
 public:
  SnapArchive() : folder_(fs::temp_directory_path() / ("zorv-archive-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(folder_);
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
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
  ~SnapArchive() { fs::remove_all(folder_); }
  // The configured snapshot folder, beside which snap.zip lies.
  std::string Folder() const { return (folder_ / "snap").string() + "\\"; }
  fs::path Archive() const { return folder_ / "snap.zip"; }

 private:
  fs::path folder_;
};

const SnapArchive& Snaps() {
  static const SnapArchive snaps;
  return snaps;
}

// A run's first lookup: the archive is listed (a changed time stamp makes the
// kept listing stale).
void BM_FirstLookupOfARun(benchmark::State& state) {
  zorv::SharedState shared;
  for (auto _ : state) {
    state.PauseTiming();
    fs::last_write_time(Snaps().Archive(), fs::last_write_time(Snaps().Archive()) + std::chrono::seconds(1));
    state.ResumeTiming();
    benchmark::DoNotOptimize(zorv::FindArchivePicture(shared, Snaps().Folder(), kLastGame));
  }
}
BENCHMARK(BM_FirstLookupOfARun)->Unit(benchmark::kMillisecond);

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

// Reference: libarchive listing the archive through the archive reader.
void BM_ReferenceListing(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zorv::ArchiveReader(Snaps().Archive()).Members().size());
}
BENCHMARK(BM_ReferenceListing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
