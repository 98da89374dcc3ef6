#pragma once
#include <windows.h>

namespace ui {

enum FontStyle : unsigned { kPlain = 0, kBold = 1, kUnderline = 2 };

// A font of a face and a character height in pixels, in one of its styles.
// The handles live as long as the process; asking again gives the same one.
HFONT GetFont(const char* face, int pixelHeight, unsigned style = kPlain);
// The same face and height as `font`, in another style.
HFONT WithStyle(HFONT font, unsigned style);
// The font of standard dialogs and of everything not given another one.
HFONT SystemFont();

} // namespace ui
