#pragma once
// Finds the entries of history.dat ("$info=names" / "$bio" / text / "$end") and
// mameinfo.dat ("$info=names" / "$mame" / text / "$end") and, for every name an
// entry serves, the stretch of bytes the viewer must read to show exactly that
// entry's text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "line_splitter.h"

namespace zorv::index {

enum class DataFileKind { History, Mameinfo };

// A stretch of a data file as the index carries it: 1-based offset and length.
struct DataReference {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  friend bool operator==(const DataReference&, const DataReference&) = default;
};

// The furthest byte the viewer reaches: it reads offsets and lengths as 32-bit
// signed numbers.
inline constexpr std::uint64_t kViewerAddressLimit = 2147483647;

// No real entry comes near this; an entry that grows past it has lost its "$end".
inline constexpr std::size_t kLongestEntry = 16u << 20;

struct DataFileIndex {
  std::unordered_map<std::string, DataReference> references;
  std::size_t entryCount = 0;
  // Names met in more than one entry: the first entry serves them.
  std::vector<std::string> duplicateNames;
  // Entries whose text holds a marker that makes the viewer cut it short; the
  // first name of each.
  std::vector<std::string> inexactNames;
  // Entries passed over because they have no "$end" before the next "$info=" or
  // the end of the file: "line <n> ($info=<names>)".
  std::vector<std::string> unendedEntries;
};

class DatScanner {
 public:
  // `fileName` only names the file in messages. Throws zorv::RunTimeError with a
  // message that says what is wrong and where; an entry without "$end" is only
  // passed over and listed.
  DatScanner(DataFileKind kind, std::string fileName, std::uint64_t addressLimit = kViewerAddressLimit);

  void Feed(std::string_view bytes);
  DataFileIndex Finish();

 private:
  struct OpenEntry {
    std::uint64_t start = 0;
    std::uint64_t lineNumber = 0;
    std::string names;
    std::string bytes;  // from the "$info=" line on
    std::optional<std::size_t> markerStart;
    std::size_t markerLength = 0;  // with its line ending
    std::string markerEnding;
    std::size_t lastEndingLength = 0;
  };

  void OnLine(const SplitLine& line);
  void CloseEntry(std::size_t endLineStart);
  void Register(const OpenEntry& entry, DataReference reference);
  void PassOverUnended();

  DataFileKind kind_;
  std::string fileName_;
  std::uint64_t addressLimit_;
  LineSplitter splitter_;
  std::optional<OpenEntry> entry_;
  bool skippingToNextEntry_ = false;  // after an entry that ran on too long
  DataFileIndex result_;
};

// Scans a whole file in pieces; `progress` hears bytes done and the file's size.
DataFileIndex ScanDataFile(std::string_view windowsPath, DataFileKind kind, std::uint64_t addressLimit,
                           const std::function<void(std::uint64_t, std::uint64_t)>& progress = {});

}  // namespace zorv::index
