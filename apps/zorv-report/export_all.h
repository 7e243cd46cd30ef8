#pragma once
// zorv-report --all: the report of every game of the index, one file per game,
// each the same as a run of zorv-report for that game writes. An addition to
// the viewer, which only ever shows one game.

namespace zorv {

// True when "--all" stands among the options (before the first other word).
bool AsksForExportAll(int argc, char** argv);

// Runs the export; the exit status: 0 when every game was written, 1 when
// some were not or the export could not start, 2 for a wrong option.
int ExportAll(int argc, char** argv);

void PrintExportHelp();

}  // namespace zorv
