#pragma once
// zorv-report --all: the sheet of every game of the index, one file per game,
// each as a run of zorv-report for that game makes it; with html, the index
// page over them all. An addition to the viewer, which only ever shows one game.

#include <string>
#include <string_view>

#include "report_options.h"
#include "sheet_style.h"

namespace zorv {

// Runs the export of `options` (All set, with OutputDir and switches only, as
// the options are parsed) for the collection in `programFolder`; what goes
// wrong is told on standard error after `program`, the name it was started by.
// The exit status: 0 when every game was written, 1 when some were not or the
// export could not start.
int ExportAll(const ReportOptions& options, std::string_view program, const std::string& programFolder,
              FontMetrics& metrics);

void PrintExportHelp();

}  // namespace zorv
