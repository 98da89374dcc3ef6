#pragma once
#include "font.h"

// The dialogs' font: "MS Sans Serif" at 8 points (11 pixels on a 96 dpi screen).
inline HFONT DialogFont()
{
    return ui::GetFont("MS Sans Serif", 11);
}
