#pragma once
// A file the programs write (an index, a data file beside it, an exported page, a kept archive listing)
// is written under a temporary name in its final folder and renamed into place only when it is whole,
// so a failed or interrupted run never leaves a file half-written. The temporary name is
//   .zorv-<process id>-<sequence>.tmp
// short whatever the final name's length, and used by no other program: a later run removes such files
// left by a process that no longer exists, and nothing else.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace zorv {

class StagedFile {
 public:
  // Creates the temporary file. Error 75 with a message when the folder cannot be written.
  explicit StagedFile(std::filesystem::path finalPath);
  ~StagedFile();  // removes the temporary file unless committed
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  void Append(std::string_view bytes);
  // Renames the temporary file over the final one. Error 75 with a message when that fails.
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

// `bytes` as the whole of the file at `path`, through a StagedFile. Error 75 with a message.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary files being written before the process ends with
// the signal's usual status.
void RemoveTemporariesOnInterrupt();

// Removes the temporary files being written now. Safe in a signal handler, for a program whose own handler
// ends the process.
void RemovePendingTemporaries();

// Removes the temporary files in `folder` whose process has ended; returns how many.
std::size_t RemoveStaleTemporaries(const std::filesystem::path& folder);

}  // namespace zorv
