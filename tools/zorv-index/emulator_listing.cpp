#include "emulator_listing.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/run_time_error.h"

extern char** environ;

namespace zorv::index {
namespace {

bool IsProgram(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindEmulator() {
  if (const char* path = std::getenv("PATH"); path != nullptr) {
    std::string_view folders(path);
    while (true) {
      const std::size_t colon = folders.find(':');
      const std::string_view folder = folders.substr(0, colon);
      if (const std::string candidate = std::string(folder.empty() ? "." : folder) + "/mame"; IsProgram(candidate)) {
        return candidate;
      }
      if (colon == std::string_view::npos) break;
      folders.remove_prefix(colon + 1);
    }
  }
  return IsProgram("/usr/games/mame") ? "/usr/games/mame" : "";
}

EmulatorListing::EmulatorListing(std::string program)
    : program_(std::move(program)), name_("the output of " + program_ + " -listxml") {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    throw RunTimeError(ErrorCode::PathFileAccess, "cannot start " + program_ + ": " + std::strerror(errno));
  }
  // A larger pipe lets the emulator print on while the list is parsed, with
  // fewer switches between the two; the system's limit may refuse it.
  ::fcntl(ends[0], F_SETPIPE_SZ, 1 << 20);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  std::string listxml = "-listxml";
  char* arguments[] = {program_.data(), listxml.data(), nullptr};
  const int failed = ::posix_spawn(&process_, program_.c_str(), &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  if (failed != 0) {
    ::close(ends[0]);
    process_ = -1;
    throw RunTimeError(ErrorCode::FileNotFound, "cannot start " + program_ + ": " + std::strerror(failed));
  }
  descriptor_ = ends[0];
}

EmulatorListing::~EmulatorListing() {
  try {
    Finish(true);
  } catch (const RunTimeError&) {
    // Only ever after another failure, which is the one reported.
  }
}

void EmulatorListing::Finish(bool stoppedEarly) {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (process_ < 0) return;
  int status = 0;
  while (::waitpid(process_, &status, 0) < 0 && errno == EINTR) {
  }
  process_ = -1;
  const std::string command = program_ + " -listxml";
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
    throw RunTimeError(ErrorCode::PathFileAccess,
                       command + " failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")");
  }
  if (WIFSIGNALED(status) && !(stoppedEarly && WTERMSIG(status) == SIGPIPE)) {
    throw RunTimeError(ErrorCode::PathFileAccess, command + " was killed by signal " + std::to_string(WTERMSIG(status)) +
                                                      " (" + ::strsignal(WTERMSIG(status)) + ")");
  }
}

}  // namespace zorv::index
