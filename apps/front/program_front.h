#pragma once
// What every program of the suite does the same way at its front, as GNU
// programs do: it calls itself by the name it was started by, a wrong command
// line gets one line saying what is wrong and a pointer to --help (status 2),
// any other failure one line (status 1).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/program_folder.h"

namespace zorv {

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The name the program was started by, without its folder: "zorv-report" for
// /usr/bin/zorv-report as for a link named so; `fallback` when argv[0] is empty.
std::string ProgramName(const char* argv0, std::string_view fallback);

// "PROGRAM: what" and "Try 'PROGRAM --help' for more information." on standard
// error; returns the usage status, 2.
int UsageError(std::string_view program, std::string_view what);

// "PROGRAM: what" on standard error; returns the failure status, 1.
int Failure(std::string_view program, std::string_view what);

// The folder of this run's collection, made when it is the user's own and does
// not exist yet; empty after a failure message naming the folder.
std::optional<CollectionFolder> UseCollectionFolder(const char* argv0, std::string_view program);

// The viewer's command text: the words joined by blanks.
std::string CommandTextOf(const std::vector<std::string>& words);

// The arguments with the program's name in front instead of the path it was
// started by, for getopt, whose own messages ("unrecognized option") begin
// with it. Holds its own copies; getopt may reorder them.
class GetoptArguments {
 public:
  GetoptArguments(int argc, char** argv, const std::string& program);
  int Count() const { return static_cast<int>(pointers_.size()) - 1; }
  char** Values() { return pointers_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;  // ends with a null pointer, as argv does
};

}  // namespace zorv
