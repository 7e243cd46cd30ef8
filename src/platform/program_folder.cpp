#include "platform/program_folder.h"

#include <cstdlib>
#include <filesystem>

namespace zorv {
namespace fs = std::filesystem;

namespace {

std::string FolderOfPath(const fs::path& program) {
  std::error_code error;
  fs::path absolute = fs::absolute(program, error);
  if (error) absolute = program;
  return absolute.lexically_normal().parent_path().string();
}

}  // namespace

std::string ProgramFolderOf(std::string_view argv0) {
  const std::string invoked(argv0);
  if (invoked.find('/') != std::string::npos) return FolderOfPath(invoked);
  if (const char* path = std::getenv("PATH"); path != nullptr && !invoked.empty()) {
    std::string_view folders(path);
    while (!folders.empty()) {
      const auto colon = folders.find(':');
      const std::string folder(folders.substr(0, colon));
      std::error_code error;
      const fs::path candidate = fs::path(folder.empty() ? "." : folder) / invoked;
      if (fs::is_regular_file(candidate, error)) return FolderOfPath(candidate);
      if (colon == std::string_view::npos) break;
      folders.remove_prefix(colon + 1);
    }
  }
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path().string() : self.parent_path().string();
}

}  // namespace zorv
