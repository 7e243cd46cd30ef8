#include "startup/collection_files.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv {

CollectionFiles::CollectionFiles(const SharedState& configured)
    : indexFile_(FindIndexFile(configured)),
      index_(indexFile_.empty() ? std::make_unique<IndexInMemory>()
                                : std::make_unique<IndexInMemory>(ReadWholeFile(indexFile_))) {
  Keep(configured.HistoryPath);
  Keep(configured.ProgramFolder + "\\datafiles\\history.dat");
  Keep(configured.MameinfoPath);
  Keep(configured.ProgramFolder + "\\datafiles\\mameinfo.dat");
  Keep(configured.ProgramFolder + "\\notes.txt");
  Keep(configured.ProgramFolder + "\\Datafiles\\notes.txt");
}

void CollectionFiles::Keep(const std::string& path) {
  if (dataFiles_.contains(path) || !FileExists(path)) return;
  dataFiles_.emplace(path, ReadWholeFile(path));
}

const std::string* CollectionFiles::DataFile(std::string_view path) const {
  const auto found = dataFiles_.find(std::string(path));
  return found == dataFiles_.end() ? nullptr : &found->second;
}

std::string CutStretch(std::string_view file, std::int64_t offset, std::int64_t length) {
  if (length < 0) throw RunTimeError(ErrorCode::InvalidArgument);
  if (offset < 1) throw RunTimeError(ErrorCode::BadRecordNumber);
  const auto size = static_cast<std::int64_t>(file.size());
  if (length == 0 || offset > size) return {};
  return std::string(file.substr(static_cast<std::size_t>(offset - 1), static_cast<std::size_t>(std::min(length, size - offset + 1))));
}

}  // namespace zorv
