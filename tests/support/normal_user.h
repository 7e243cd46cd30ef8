#pragma once
// Runs a command as a user without privileges, so that folders and files whose
// permissions keep a user out really do. Root reads and writes anything: run as
// root (as CI is), the command runs as "nobody"; run as anyone else, as is.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace zorv::testing {

inline std::string AsNormalUser(const std::string& command) {
  if (::geteuid() != 0) return command;
  return "setpriv --reuid=65534 --regid=65534 --clear-groups " + command;
}

// A folder that user may write into, as a user's home is theirs.
inline void OpenToNormalUser(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::filesystem::permissions(folder, std::filesystem::perms::all);
}

}  // namespace zorv::testing
