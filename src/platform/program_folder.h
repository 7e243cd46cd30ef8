#pragma once
#include <string>
#include <string_view>

namespace zorv {

// The folder of the program file as it was invoked, without a final separator.
// A symbolic link to the program placed in a data folder makes that folder the
// program folder, so links are not followed; a bare name is looked up on PATH.
std::string ProgramFolderOf(std::string_view argv0);

}  // namespace zorv
