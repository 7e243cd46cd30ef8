#pragma once
// A sheet as plain UTF-8 text: a line for each line break of the sheet (its
// paragraphs, the pieces the window shows a very long paragraph in, its line
// breaks inside paragraphs), and each picture as one line naming it:
// "[Snapshot: gng.png, 256x224]".
#include <string>

#include "headless_sheet.h"

namespace zorv {

std::string SheetText(const HeadlessSheet& sheet);

}  // namespace zorv
