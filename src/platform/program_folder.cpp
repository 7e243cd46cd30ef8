#include "platform/program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;

namespace {

std::string FolderOfPath(const fs::path& program) {
  std::error_code error;
  fs::path absolute = fs::absolute(program, error);
  if (error) absolute = program;
  return absolute.lexically_normal().parent_path().string();
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  if (std::string home = Variable("HOME"); !home.empty()) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

std::string Absolute(const std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return (error ? fs::path(path) : absolute).lexically_normal().string();
}

// Where packages, administrators and "install --prefix ~/.local" put programs.
// Their owners can write them, but a collection there would be lost among the
// programs (and for root, be everybody's).
bool IsFolderOfPrograms(const std::string& folder) {
  const std::array<std::string, 9> folders = {"/bin",           "/sbin",           "/usr/bin",
                                              "/usr/sbin",      "/usr/games",      "/usr/local/bin",
                                              "/usr/local/sbin", "/usr/local/games", HomeFolder() + "/.local/bin"};
  std::error_code error;
  const fs::path real = fs::weakly_canonical(folder, error);
  if (error) return false;
  for (const std::string& programs : folders) {
    if (real == fs::weakly_canonical(programs, error) && !error) return true;
  }
  return false;
}

// The user's own folder and the words that say where it came from.
std::pair<std::string, std::string> UserFolder() {
  if (std::string home = Variable("ZORV_HOME"); !home.empty()) return {Absolute(home), "$ZORV_HOME"};
  // The XDG rule: a relative $XDG_DATA_HOME is ignored.
  if (std::string data = Variable("XDG_DATA_HOME"); !data.empty() && data.front() == '/') {
    return {Absolute(data + "/zorvane"), "$XDG_DATA_HOME/zorvane"};
  }
  return {Absolute(HomeFolder() + "/.local/share/zorvane"), "~/.local/share/zorvane"};
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

CollectionFolder ChooseCollectionFolder(std::string_view argv0) {
  const std::string program = ProgramFolderOf(argv0);
  if (FileExists(program + "\\datafiles\\index.")) return {program, "the program folder holds datafiles/index", true};
  const bool programs = IsFolderOfPrograms(program);
  if (!programs && ::access(program.c_str(), W_OK) == 0) {
    return {program, "the program folder can be written and is taken as the collection", true};
  }
  auto [folder, source] = UserFolder();
  return {folder,
          source + ": the program folder " + program + " holds no datafiles/index and " +
              (programs ? "is a folder of installed programs" : "cannot be written"),
          false};
}

void CreateCollectionFolder(const CollectionFolder& folder) {
  if (folder.IsProgramFolder) return;
  std::error_code error;
  fs::create_directories(folder.Path, error);
  std::error_code ignored;
  if (!error && fs::is_directory(folder.Path, ignored)) return;
  const std::string what =
      fs::exists(folder.Path, ignored) && !fs::is_directory(folder.Path, ignored)
          ? folder.Path + " is not a folder"
          : "cannot make the collection folder " + folder.Path + " (" + error.message() + ")";
  throw RunTimeError(ErrorCode::PathFileAccess,
                     what + "; set ZORV_HOME to a folder you can write, e.g. ZORV_HOME=~/arcade");
}

}  // namespace zorv
