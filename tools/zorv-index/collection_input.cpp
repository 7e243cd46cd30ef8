#include "collection_input.h"

#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

std::string BaseName(std::string_view memberPath) {
  const std::size_t slash = memberPath.rfind('/');
  return std::string(slash == std::string_view::npos ? memberPath : memberPath.substr(slash + 1));
}

// What a member of an archive given for this option is called, in order of preference.
bool NamedLikeOption(InputKind kind, std::string_view baseName) {
  const std::string name = LowerCase(baseName);
  switch (kind) {
    case InputKind::GameList:
      return name.ends_with(".xml");
    case InputKind::History:
      return name == "history.xml" || name == "history.dat";
    case InputKind::Mameinfo:
      return name == "mameinfo.dat";
    case InputKind::Catver:
      return name == "catver.ini";
    case InputKind::NPlayers:
      return name == "nplayers.ini";
  }
  return false;
}

std::string_view WantedName(InputKind kind) {
  switch (kind) {
    case InputKind::GameList:
      return "one .xml file";
    case InputKind::History:
      return "history.xml or history.dat";
    case InputKind::Mameinfo:
      return "mameinfo.dat";
    case InputKind::Catver:
      return "catver.ini";
    case InputKind::NPlayers:
      return "nplayers.ini";
  }
  return {};
}

std::string ChooseMember(const ArchiveReader& archive, InputKind kind, const std::string& path) {
  const auto& members = archive.Members();
  if (members.empty()) throw RunTimeError(ErrorCode::InputPastEnd, path + ": the archive holds no files");
  if (members.size() == 1) return members.front().path;
  std::vector<std::string> candidates;
  for (const ArchiveMember& member : members) {
    if (NamedLikeOption(kind, BaseName(member.path))) candidates.push_back(member.path);
  }
  // history.zip may carry both forms of the same file: the XML one is today's.
  if (kind == InputKind::History && candidates.size() == 2 &&
      LowerCase(BaseName(candidates[0])).ends_with(".xml") != LowerCase(BaseName(candidates[1])).ends_with(".xml")) {
    return LowerCase(BaseName(candidates[0])).ends_with(".xml") ? candidates[0] : candidates[1];
  }
  if (candidates.size() == 1) return candidates.front();
  std::string found;
  constexpr std::size_t kShown = 8;
  for (std::size_t i = 0; i < members.size() && i < kShown; ++i) found += (i ? ", " : "") + members[i].path;
  if (members.size() > kShown) found += ", ... (" + std::to_string(members.size()) + " files)";
  throw RunTimeError(ErrorCode::InvalidArgument, path + ": cannot tell which file to take; expected " +
                                                     std::string(WantedName(kind)) + ", found " + found);
}

}  // namespace

CollectionInput::CollectionInput(std::string windowsPath, InputKind kind)
    : path_(std::move(windowsPath)), name_(path_) {
  if (path_ == "-") {
    if (kind != InputKind::GameList)
      throw RunTimeError(ErrorCode::InvalidArgument, "only the game list (--listxml) can be read from standard input");
    name_ = "standard input";
    return;
  }
  if (!FileExists(path_)) throw RunTimeError(ErrorCode::FileNotFound, path_ + ": file not found");
  if (!HasArchiveExtension(ResolvePath(path_))) return;
  try {
    archive_ = std::make_unique<ArchiveReader>(ResolvePath(path_));
  } catch (const RunTimeError& failure) {
    // The reader names the resolved path; the user knows the one given.
    const std::string what = failure.what();
    const std::string resolved = ResolvePath(path_).string();
    throw RunTimeError(static_cast<ErrorCode>(failure.Number()),
                       what.starts_with(resolved) ? path_ + what.substr(resolved.size()) : what);
  }
  member_ = ChooseMember(*archive_, kind, path_);
  name_ = path_ + " (" + member_ + ")";
}

std::string CollectionInput::FileName() const {
  return archive_ ? BaseName(member_) : ResolvePath(path_).filename().string();
}

ByteSource CollectionInput::Open() const {
  if (!archive_) return ByteSource(path_);
  return ByteSource(archive_->OpenMember(member_, kExtractLimit));
}

std::string CollectionInput::ReadWhole() const {
  if (!archive_) return ReadWholeFile(path_);
  return archive_->Read(member_, kExtractLimit);
}

}  // namespace zorv::index
