// zorv-report --check: one line on each thing a run reads, "wrong" where a run
// would go wrong, exit status 1 then, and never a file written or changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

namespace fs = std::filesystem;

// Every file below the folder with its bytes, and every link with where it points (the program's
// own link leads to a large file outside).
std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::string& content = contents[entry.path().string()];
    if (entry.is_symlink()) {
      content = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      content = ReadFile(entry.path());
    }
  }
  return contents;
}

// The small collection with a snapshot, a folder for saved reports and a
// Zorv.inf naming both.
void WriteCheckedCollection(const TempFolder& collection) {
  WriteSmallCollection(collection);
  fs::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", collection.Path() / "zorv-report");
  fs::create_directories(collection.Path() / "saved");
  fs::create_directories(collection.Path() / "snap");
  fs::copy_file(std::string(ZORV_DEMO_DIR) + "/pictures/snap/gng.png", collection.Path() / "snap/gng.png",
                fs::copy_options::none);
  collection.Write("Zorv.inf", "SnapPath=" + collection.Str() + "/snap\r\nSavePath=" + collection.Str() + "/saved\r\n");
}

ProgramResult Check(const TempFolder& collection) {
  return RunProgram(Quoted(collection.Str() + "/zorv-report") + " --check 2>&1");
}

TEST(CollectionCheck, SaysWhatARunFindsOneLineEach) {
  TempFolder collection;
  WriteCheckedCollection(collection);
  const std::string c = collection.Str();
  const ProgramResult check = Check(collection);
  EXPECT_EQ(check.ExitStatus, 0) << check.Output;
  for (const std::string& line : std::vector<std::string>{
           "ok     folder          " + c + " (the program folder holds datafiles/index)\n",
        "ok     Zorv.inf        " + c + "/Zorv.inf: keys SNAPPATH, SAVEPATH\n",
        "-      quorbis.inf     none: the built-in settings apply\n",
        "ok     index           " + c + "/DataFiles/Index: 1 game\n",
        "ok     history         " + c + "/DataFiles/history.dat: the index points at 1 entry, each within its 58 bytes\n",
        "ok     snapshots       " + c + "/snap: 1 picture\n",
        "-      title screens   /mame/titles: no such folder, nor a .zip or .7z of that name (TitlesPath is not set)\n",
        "ok     line ends       every file read line by line ends its lines with CR LF\n",
        "ok     saved reports   SavePath " + c + "/saved can be written\n",
        "ok     log             " + c + "/Zorv.Log.txt can be written\n"}) {
    EXPECT_NE(check.Output.find(line), std::string::npos) << line << "in\n" << check.Output;
  }
}

TEST(CollectionCheck, FindsNothingWrongInTheDemoCollection) {
  TempFolder copy;
  fs::copy(ZORV_DEMO_DIR, copy.Path(), fs::copy_options::recursive);
  fs::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", copy.Path() / "zorv-report");
  const ProgramResult check = RunProgram("cd " + Quoted(copy.Str()) + " && ./zorv-report --check 2>&1");
  EXPECT_EQ(check.ExitStatus, 0) << check.Output;
  EXPECT_NE(check.Output.find("ok     flyers          " + copy.Str() + "/pictures/flyers: 5 pictures\n"), std::string::npos)
      << check.Output;
}

TEST(CollectionCheck, TellsEachThingThatWouldGoWrongAndChangesNothing) {
  struct Fault {
    const char* name;
    std::function<void(const TempFolder&)> make;
    std::string line;  // with "@" for the collection's folder
  };
  const std::vector<Fault> faults = {
      {"Zorv.inf written with LF line ends",
       [](const TempFolder& c) { c.Write("Zorv.inf", "SnapPath=" + c.Str() + "/snap\nSavePath=" + c.Str() + "/saved\n"); },
       "wrong  line ends       @/Zorv.inf: 2 lines end with a lone LF"},
      {"a history.dat other than the index's",
       [](const TempFolder& c) { c.Write("DataFiles/history.dat", "$info=gng\r\n$end\r\n"); },
       "wrong  history         @/DataFiles/history.dat: the index points at 1 entry, 1 of them past its end (17 "
       "bytes): the index was made from another history.dat"},
      {"no mameinfo.dat", [](const TempFolder& c) { fs::remove(c.Path() / "DataFiles/mameinfo.dat"); },
       "wrong  mameinfo        1 game points into mameinfo.dat, but there is none at @/DataFiles/mameinfo.dat"},
      {"no index", [](const TempFolder& c) { fs::remove(c.Path() / "DataFiles/Index"); },
       "wrong  index           none at @/DataFiles/index or @/index; make one: zorv-index --mame-ini"},
      {"a snapshot folder that is not there",
       [](const TempFolder& c) { c.Write("Zorv.inf", "SnapPath=" + c.Str() + "/snaps\r\n"); },
       "wrong  snapshots       @/snaps: no such folder, nor a .zip or .7z of that name; correct SnapPath in Zorv.inf"},
      {"a SavePath that is not there",
       [](const TempFolder& c) { c.Write("Zorv.inf", "SavePath=" + c.Str() + "/sheets\r\n"); },
       "wrong  saved reports   SavePath @/sheets is no folder"},
  };
  for (const Fault& fault : faults) {
    TempFolder collection;
    WriteCheckedCollection(collection);
    fault.make(collection);
    const auto before = Contents(collection.Path());
    const ProgramResult check = Check(collection);
    EXPECT_EQ(check.ExitStatus, 1) << fault.name;
    std::string line = fault.line;
    for (auto at = line.find('@'); at != std::string::npos; at = line.find('@')) line.replace(at, 1, collection.Str());
    EXPECT_NE(check.Output.find(line), std::string::npos) << fault.name << ": " << line << "\nin\n" << check.Output;
    EXPECT_EQ(Contents(collection.Path()), before) << fault.name;
  }
}

}  // namespace
}  // namespace zorv::testing
