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

struct option;  // <getopt.h>

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

// getopt_long over a program's arguments, as GNU programs read them: getopt's
// own messages ("unrecognized option '--x'") begin with the program's name as
// started, and every usage error ends with the pointer to --help.
class OptionParser {
 public:
  // `shortOptions` and `longOptions` as getopt_long takes them; a "-" first in
  // `shortOptions` hands over each word that is no option, in its place, as 1.
  OptionParser(int argc, char** argv, std::string program, const char* shortOptions, const option* longOptions);

  // The next option's code, its value in Value(); '?' after getopt's own
  // message; -1 at the end.
  int Next();
  const char* Value() const;
  // The words after the last option.
  std::vector<std::string> Rest() const;
  // "PROGRAM: what" (after getopt's own message: nothing) and the pointer to
  // --help on standard error; returns the usage status, 2.
  int Refuse(std::string_view what = {}) const;

 private:
  std::string program_;
  const char* shortOptions_;
  const option* longOptions_;
  std::vector<std::string> words_;  // a copy getopt may reorder, the program's name first
  std::vector<char*> pointers_;     // ends with a null pointer, as argv does
};

}  // namespace zorv
