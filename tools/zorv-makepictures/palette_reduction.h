#pragma once
// Turns an RGBA canvas into palette indices for GIF files and palette PNGs.
#include "canvas.h"
#include "indexed_image.h"

namespace zorv::pictures {

// At most `maxColours` entries (2..256). Pixels with alpha below 128 become one
// transparent entry (index 0) when the canvas has any; the opaque colours share
// the other entries, chosen by median cut when there are too many of them.
IndexedImage ReduceToPalette(const Canvas& canvas, int maxColours);

}  // namespace zorv::pictures
