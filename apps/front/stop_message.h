#pragma once
// A run that stops leaves one line in Zorv.Log.txt and no report. The same line,
// read back from the log, goes to standard error with the log's place, so a
// user at a terminal learns why without looking for the log.
#include <cstdint>
#include <string>

namespace zorv {

class StopMessage {
 public:
  // Notes how long the collection's log is before the run; `program` begins
  // the message.
  StopMessage(std::string program, const std::string& collectionFolder);

  // One line: what this run's last log line says (with the meaning of an error
  // number) and where the log is; or that nothing could be logged.
  std::string Text() const;

 private:
  std::string program_;
  std::string logPath_;
  std::int64_t lengthBefore_ = 0;
};

}  // namespace zorv
