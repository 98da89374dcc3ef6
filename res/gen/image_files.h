#pragma once
// Writers of the two Windows picture formats the tracker loads.
#include <string>
#include <vector>

#include "canvas.h"

// A bottom-up 24-bit BMP; any transparency is flattened onto black.
bool WriteBmp24(const std::string& path, const Canvas& picture);

// One image of an icon file and the colour depth to store it at: 4 (the
// standard 16 colours), 8 (a palette made for the picture) or 32 (with alpha).
struct IcoImage {
    Canvas picture;
    int bits;
};

// Paletted images take their transparency from the AND mask (alpha below one
// half is transparent); 32-bit images keep the alpha channel.
bool WriteIco(const std::string& path, const std::vector<IcoImage>& images);
