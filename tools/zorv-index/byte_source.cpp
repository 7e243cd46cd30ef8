#include "byte_source.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv::index {

ByteSource::ByteSource(std::string windowsPath) : path_(std::move(windowsPath)) {
  if (path_ != "-") size_ = FileLength(path_);
}

ByteSource::ByteSource(ArchiveMemberReader member) : size_(member.DeclaredSize()), member_(std::move(member)) {}

std::size_t ByteSource::Read(std::span<char> buffer) {
  std::size_t got = 0;
  if (member_) {
    got = member_->Read(buffer);
  } else if (!size_) {
    got = std::fread(buffer.data(), 1, buffer.size(), stdin);
    if (got == 0 && std::ferror(stdin)) throw RunTimeError(ErrorCode::PathFileAccess, "standard input cannot be read");
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
