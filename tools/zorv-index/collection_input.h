#pragma once
// Where one input of the tool really is. Each may be a plain file or a .zip or
// .7z holding it, as collectors get them (history.zip, mameinfo.zip,
// catver.7z). An archive of one file gives that file; an archive of several
// gives the one named like the option and is refused otherwise.
#include <cstdint>
#include <memory>
#include <string>

#include "byte_source.h"
#include "platform/archive/archive_reader.h"

namespace zorv::index {

enum class InputKind { GameList, History, Mameinfo, Catver, NPlayers };

// No member extracts to more than this: a larger one is taken for a zip bomb.
inline constexpr std::uint64_t kExtractLimit = std::uint64_t{1} << 30;

class CollectionInput {
 public:
  // Throws zorv::RunTimeError with a message: 53 for a missing file, 62 for an
  // empty or truncated archive, 75 for one that is not an archive, 5 for an
  // archive that does not say which member to take.
  CollectionInput(std::string windowsPath, InputKind kind);

  const std::string& Path() const { return path_; }
  // For messages: the path, or "history.zip (history.xml)" for a member.
  const std::string& Name() const { return name_; }
  bool FromArchive() const { return archive_ != nullptr; }
  // The member's own name, or the file's.
  std::string FileName() const;

  ByteSource Open() const;
  std::string ReadWhole() const;

 private:
  std::string path_;
  std::string name_;
  std::unique_ptr<ArchiveReader> archive_;
  std::string member_;
};

}  // namespace zorv::index
