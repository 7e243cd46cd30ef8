#pragma once
// A colour of the sheet as Qt paints it.
#include <QColor>

#include "platform/colour.h"

namespace zorv {

inline QColor QtColour(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

}  // namespace zorv
