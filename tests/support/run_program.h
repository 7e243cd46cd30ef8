#pragma once
// Runs a program and collects what it writes to standard output and its exit
// status, for end-to-end tests of the command-line tools.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace zorv::testing {

struct ProgramResult {
  int ExitStatus = -1;
  std::string Output;
};

// `command` is handed to the shell; standard error is left alone.
inline ProgramResult RunProgram(const std::string& command) {
  ProgramResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.Output.append(buffer, got);
  const int status = ::pclose(pipe);
  result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace zorv::testing
