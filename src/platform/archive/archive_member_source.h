#pragma once
// The bytes of one archive member as a reader takes them, whichever library reads the archive.
#include <cstddef>
#include <cstdint>
#include <span>

namespace zorv {

// Archives and their members are read in blocks of this size.
inline constexpr std::size_t kArchiveBlockSize = 64 * 1024;

class ArchiveMemberSource {
 public:
  virtual ~ArchiveMemberSource() = default;
  // The member's next bytes into the front of `buffer`; 0 at its end.
  virtual std::size_t ReadSome(std::span<char> buffer) = 0;
  // The size the archive gives for the member (0 when it gives none).
  virtual std::uint64_t DeclaredSize() const = 0;
};

}  // namespace zorv
