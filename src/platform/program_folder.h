#pragma once
// Where a program finds its collection: Zorv.inf, quorbis.inf, Zorv.rtf,
// notes.txt, the log and datafiles/.
#include <string>
#include <string_view>

namespace zorv {

// The folder of the program file as it was invoked, without a final separator.
// A symbolic link to the program placed in a data folder makes that folder the
// program folder, so links are not followed; a bare name is looked up on PATH.
std::string ProgramFolderOf(std::string_view argv0);

// The folder whose files a run reads and writes. It is the program folder
// unless that is an installed program's folder: one that holds no
// datafiles/index and that the user cannot write, or a folder of installed
// programs (/usr/bin, /usr/games, ~/.local/bin, ...) whoever runs it. Then it
// is the user's own: $ZORV_HOME when set, else $XDG_DATA_HOME/zorvane, else
// ~/.local/share/zorvane.
struct CollectionFolder {
  std::string Path;    // absolute, without a final separator
  std::string Reason;  // why this folder, for a person reading a diagnosis
  bool IsProgramFolder = true;
};

// Looks only; nothing is made.
CollectionFolder ChooseCollectionFolder(std::string_view argv0);

// Makes the user's collection folder, with the folders above it, when it does
// not exist yet. Error 75 with a message naming the folder and what to do when
// it cannot be made or something other than a folder stands there.
void CreateCollectionFolder(const CollectionFolder& folder);

}  // namespace zorv
