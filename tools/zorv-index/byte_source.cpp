#include "byte_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv::index {

ByteSource::ByteSource(std::string windowsPath) : path_(std::move(windowsPath)) {
  if (path_ == "-") {
    descriptor_ = STDIN_FILENO;
  } else {
    size_ = FileLength(path_);
  }
}

ByteSource ByteSource::FromDescriptor(int descriptor) {
  ByteSource source;
  source.descriptor_ = descriptor;
  return source;
}

ByteSource::ByteSource(ArchiveMemberReader member) : size_(member.DeclaredSize()), member_(std::move(member)) {}

std::size_t ByteSource::Read(std::span<char> buffer) {
  std::size_t got = 0;
  if (member_) {
    got = member_->Read(buffer);
  } else if (descriptor_ >= 0) {
    // A pipe hands over what is there; the buffer is filled for the parser's sake.
    while (got < buffer.size()) {
      const ssize_t read = ::read(descriptor_, buffer.data() + got, buffer.size() - got);
      if (read < 0 && errno == EINTR) continue;
      if (read < 0) throw RunTimeError(ErrorCode::PathFileAccess);
      if (read == 0) break;
      got += static_cast<std::size_t>(read);
    }
  } else if (position_ < *size_) {
    const std::uint64_t wanted = std::min<std::uint64_t>(buffer.size(), *size_ - position_);
    const std::string piece =
        ReadStretch(path_, static_cast<std::int64_t>(position_ + 1), static_cast<std::int64_t>(wanted));
    std::memcpy(buffer.data(), piece.data(), piece.size());
    got = piece.size();
  }
  position_ += got;
  return got;
}

}  // namespace zorv::index
