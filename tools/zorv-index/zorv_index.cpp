// zorv-index: writes the viewer's game index from the collector's own files.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "collection_setup.h"
#include "index_builder.h"
#include "index_options.h"
#include "platform/progress_bar.h"
#include "platform/staged_file.h"
#include "program_front.h"
#include "program_version.h"

namespace {

using namespace zorv::index;

void PrintWarnings(const std::string& program, const IndexSummary& summary) {
  for (const auto& warning : summary.warnings) std::fprintf(stderr, "%s: warning: %s\n", program.c_str(), warning.c_str());
}

int Run(const std::string& program, const char* invoked, CommandLine command) {
  command.options.showProgress = zorv::ProgressBar::StandardErrorIsTerminal();
  zorv::RemoveTemporariesOnInterrupt();
  if (command.mameIni || command.options.output.empty()) {
    const auto collection = zorv::UseCollectionFolder(invoked, program);
    if (!collection) return zorv::kExitFailure;
    if (command.mameIni) {
      const SetupResult result = SetUpCollection(command, collection->Path);
      PrintWarnings(program, result.summary);
      std::fputs(SetupSummary(result).c_str(), stdout);
      return 0;
    }
    // Without --output the index goes to the collection folder's datafiles/.
    command.options.output = (std::filesystem::path(collection->Path) / "datafiles" / "index").string();
    command.options.makeOutputFolder = true;
  }
  const IndexSummary summary = BuildIndex(command.options);
  PrintWarnings(program, summary);
  for (const auto& written : summary.dataFilesWritten) std::fprintf(stderr, "%s: wrote %s\n", program.c_str(), written.c_str());
  std::fprintf(stderr, "%s: %zu games written to %s (%zu with history, %zu with mameinfo, %zu ROM sets present; %zu other machines passed over)\n",
               program.c_str(), summary.games, command.options.output.c_str(), summary.withHistory,
               summary.withMameinfo, summary.withRomSet, summary.machinesPassedOver);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* invoked = argc > 0 ? argv[0] : nullptr;
  const std::string program = zorv::ProgramName(invoked, "zorv-index");
  const std::vector<std::string_view> arguments(argv + std::min(argc, 1), argv + argc);
  CommandLine command;
  try {
    command = ParseCommandLine(arguments);
  } catch (const std::exception& failure) {
    return zorv::UsageError(program, failure.what());
  }
  if (command.showHelp) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (command.showVersion) {
    std::fputs(zorv::VersionText("zorv-index").c_str(), stdout);
    return 0;
  }
  try {
    return Run(program, invoked, std::move(command));
  } catch (const std::exception& failure) {
    return zorv::Failure(program, failure.what());
  }
}
