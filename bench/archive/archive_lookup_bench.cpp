// Looking a game's picture up in a snap.zip of 50,000 pictures, one folder
// down, as collectors' archives hold them: the first lookup of a run lists the
// archive from its central directory, later ones find the name in that
// listing; reading the picture goes straight to its offset. The references are
// libarchive's seekable zip reader listing the same archive, and walking it to
// the last picture and reading that.
#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/local_time_zone.h"
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
