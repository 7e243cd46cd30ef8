#pragma once
// Reads a picture group: its control words, its hexadecimal or \bin data, and
// the group's own text, kept byte for byte so that it is written back unchanged.
#include <cstddef>

#include "richtext/document.h"
#include "richtext/rtf_lexer.h"

namespace zorv::richtext {

// Reads on from the lexer (just after the \pict word) to the group's closing
// brace; `groupStart` is where the group's opening brace stands in the input.
// A group cut short by the end of the input gets a text rebuilt from what was
// read, so that what is written back is a whole group again.
Picture ReadPictureGroup(RtfLexer& lexer, std::size_t groupStart);

// A picture group in the form this reader reads back to the same picture.
std::string PictureGroupText(const Picture& picture);

}  // namespace zorv::richtext
