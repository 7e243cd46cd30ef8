#pragma once
// zorv-report --all: the report of every game of the index, one file per game,
// each the same as a run of zorv-report for that game writes. An addition to
// the viewer, which only ever shows one game.

#include <string>

#include "report_options.h"

namespace zorv {

// Runs the export of `options` (All set, with OutputDir and switches only, as
// the options are parsed) for the collection in `programFolder`; the exit
// status: 0 when every game was written, 1 when some were not or the export
// could not start.
int ExportAll(const ReportOptions& options, const std::string& programFolder);

void PrintExportHelp();

}  // namespace zorv
