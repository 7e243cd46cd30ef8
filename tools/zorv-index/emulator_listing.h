#pragma once
// The emulator's own game list: the output of "mame -listxml", read as it is
// printed, so that a list of some 270 MB is parsed while the emulator writes it
// and never held whole.
#include <string>
#include <sys/types.h>

namespace zorv::index {

// The emulator to ask: "mame" on PATH, else /usr/games/mame (Debian's place,
// often not on a user's PATH); empty when there is neither.
std::string FindEmulator();

class EmulatorListing {
 public:
  // Starts `program -listxml`, its standard output on a pipe, its standard
  // input from /dev/null, its standard error the user's. Error 53 with a
  // message when it cannot be started.
  explicit EmulatorListing(std::string program);
  ~EmulatorListing();  // stops reading, and waits for the program
  EmulatorListing(const EmulatorListing&) = delete;
  EmulatorListing& operator=(const EmulatorListing&) = delete;

  // The read end of the pipe.
  int Descriptor() const { return descriptor_; }
  // For messages: "the output of /usr/games/mame -listxml".
  const std::string& Name() const { return name_; }
  // Stops reading and waits for the program. Error 75 with a message when it
  // ended with a failure status or was killed; after `stoppedEarly`, a program
  // ended by the closed pipe is not counted as failing.
  void Finish(bool stoppedEarly);

 private:
  std::string program_;
  std::string name_;
  pid_t process_ = -1;
  int descriptor_ = -1;
};

}  // namespace zorv::index
