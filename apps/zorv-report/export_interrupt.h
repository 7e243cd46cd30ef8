#pragma once
// Ctrl-C, SIGTERM or SIGHUP (a closed terminal) during an export: the first
// asks it to stop, so no game starts after it and the files being written are
// finished and renamed into place; a second one ends the program at once,
// after removing the temporary files being written. Either way no file is left
// half-written or under a temporary name.
namespace zorv {

class ExportInterrupts {
 public:
  ExportInterrupts();   // takes the three signals over
  ~ExportInterrupts();  // gives them back
  ExportInterrupts(const ExportInterrupts&) = delete;
  ExportInterrupts& operator=(const ExportInterrupts&) = delete;

  static bool Requested();
  // Ends the program by the signal that asked it to stop, as the shell expects
  // of a program interrupted; does nothing when none did.
  void EndBySignal();
};

}  // namespace zorv
