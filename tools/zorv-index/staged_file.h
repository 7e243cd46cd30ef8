#pragma once
// Files the tool writes (the index, and the data files it writes beside it) are
// written under a temporary name in their final folder and renamed into place
// only when the whole run went well, so an interrupted or failed run never
// leaves a file half-written. The temporary name is
//   <final name>.zorv-index-<process id>.tmp
// which no other program uses: a later run removes such files left by a run
// that no longer exists, and nothing else.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zorv::index {

class StagedFile {
 public:
  // Creates the temporary file. Error 75 with a message when the folder cannot
  // be written.
  explicit StagedFile(std::filesystem::path finalPath);
  ~StagedFile();  // removes the temporary file unless committed
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  void Append(std::string_view bytes);
  // Renames the temporary file over the final one.
  void Commit();

  const std::filesystem::path& FinalPath() const { return finalPath_; }
  std::uint64_t Size() const { return size_; }

 private:
  std::filesystem::path finalPath_;
  std::filesystem::path temporaryPath_;
  int descriptor_ = -1;
  int slot_ = -1;
  std::uint64_t size_ = 0;
};

// Removes the temporary files of interrupted runs (Ctrl-C, SIGTERM, SIGHUP)
// before the process ends with the signal's usual status.
void RemoveTemporariesOnInterrupt();

// Removes this tool's temporary files in `folder` whose run has ended; returns
// how many.
std::size_t RemoveStaleTemporaries(const std::filesystem::path& folder);

}  // namespace zorv::index
