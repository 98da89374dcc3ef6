#pragma once
// Helpers for the viewer's image strips: pictures drawn with alpha are laid
// on the colour they will be shown on, and what stays clear becomes the
// mask colour that the image lists leave transparent.
#include <vector>

#include "canvas.h"

// The colour image lists treat as transparent (magenta).
Color MaskColor();

// `src` pasted at (dx, dy), each pixel moved towards `tint` by `amount`.
void PasteTinted(Canvas& dst, const Canvas& src, int dx, int dy, const Color& tint, float amount);

// Opaque: clear pixels take the mask colour, the rest is blended onto `background`.
Canvas Flatten(const Canvas& picture, const Color& background);

// The pictures side by side, left to right.
Canvas Strip(const std::vector<Canvas>& pictures);
