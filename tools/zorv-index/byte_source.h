#pragma once
// Bytes read in pieces from a file, from standard input ("-") or from one member
// of a .zip or .7z, so that a game list of hundreds of megabytes never has to be
// held whole.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/archive/archive_reader.h"

namespace zorv::index {

class ByteSource {
 public:
  // "-" reads standard input. A file that does not exist: error 53.
  explicit ByteSource(std::string windowsPath);
  // A pipe or other stream already open; the descriptor stays the caller's.
  static ByteSource FromDescriptor(int descriptor);
  // The archive the member came from must outlive the source.
  explicit ByteSource(ArchiveMemberReader member);

  // Fills the front of `buffer`; 0 at the end. Error 75 when reading fails.
  std::size_t Read(std::span<char> buffer);

  // Empty for standard input and other streams.
  std::optional<std::uint64_t> TotalSize() const { return size_; }
  std::uint64_t BytesRead() const { return position_; }

 private:
  ByteSource() = default;

  std::string path_;
  int descriptor_ = -1;  // a stream: standard input, a pipe
  std::optional<std::uint64_t> size_;
  std::optional<ArchiveMemberReader> member_;
  std::uint64_t position_ = 0;
};

}  // namespace zorv::index
