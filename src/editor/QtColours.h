// Colour values 0x00BBGGRR as Qt colours and back.
#pragma once

#include "editor/SyntaxColours.h"

#include <QColor>

inline QColor toQColor(ColourRef c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

inline ColourRef fromQColor(const QColor& c)
{
    return ColourRef(c.red()) | (ColourRef(c.green()) << 8) | (ColourRef(c.blue()) << 16);
}
