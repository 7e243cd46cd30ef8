#pragma once
// Turns the rich-text box's document into a Qt text document: paragraphs, runs
// with their font, size, bold, italic, underline and colour, and the embedded
// pictures decoded and sized as a word processor shows them.
#include "platform/screen_metrics.h"
#include "richtext/document.h"

class QTextDocument;

namespace zorv {

// Replaces what `target` holds. `automaticColour` is the colour of text that
// names none (0x00BBGGRR).
void RenderDocument(const richtext::Document& document, QTextDocument& target, const ScreenMetrics& screen,
                    Colour automaticColour = 0x000000);

}  // namespace zorv
