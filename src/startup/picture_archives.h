#pragma once
// Pictures kept in archives, as front ends and the emulator read them: when a
// category's folder holds no picture of the game, the archive named like the
// folder ("snap.zip" or "snap.7z" beside "snap\"), or the configured path
// itself when it names a .zip or .7z, is searched for the same file names,
// without regard to case, at its root or one folder down.
//
// Such a picture is named folder + "|" + its path inside the archive (e.g.
// "c:\mame\snap\|snap/gng.png"). "|" never occurs in a Windows file name, so the
// name cannot be taken for a file, it still ends with the picture's extension,
// and everything up to its last "\" is the configured folder.
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

// The archive a category's folder stands for: the configured path itself when it
// names a .zip or .7z, else the folder's name with ".zip", then ".7z"; empty
// when there is none.
std::optional<std::string> ArchiveOfFolder(std::string_view folder);

// Folder + "|" + member for the first of name + ".png", ".jpg", ".gif" found
// in the folder's archive; empty when there is none. An archive that cannot be
// read is logged as "ERROR F - n" and holds nothing.
std::string FindArchivePicture(SharedState& state, std::string_view folder, std::string_view name);

// True for a name that FindArchivePicture made.
bool IsArchivePicture(std::string_view picture);

// The picture's bytes. Errors as the archive reader's: 53 when the archive or
// the member is gone, 75 for a damaged or encrypted archive, 62 for a member cut
// short, 7 for one larger than any picture or behind more than that in a solid
// 7z, 18 once `stop` is requested.
std::string ReadArchivePicture(std::string_view picture, std::stop_token stop = {});

// The same, read on a thread of its own while `keepWaiting` runs every few
// milliseconds on this one (a window answers its events meanwhile). When
// `keepWaiting` returns false the read is stopped and nothing is returned.
// Without `keepWaiting` the picture is read on this thread.
std::optional<std::string> ReadArchivePicture(std::string_view picture, const std::function<bool()>& keepWaiting);

}  // namespace zorv
