#pragma once
// The tracker's pictures. The skin pieces tile into one strip of 159 x 18:
// start/stop button (19), twenty activity cells (6 each), hide button (20).
#include "canvas.h"

Canvas SkinCell(bool lit);          // 6 x 18
Canvas SkinStartButton(bool hot);   // 19 x 18, a play triangle
Canvas SkinStopButton(bool hot);    // 19 x 18, a stop square
Canvas SkinHideButton(bool hot);    // 20 x 18, a minimise bar
Canvas SkinStoppedFace();           // 120 x 18, where the bar is while stopped

Canvas Logo();                      // 400 x 137, top of the About dialog

enum class IconKind { Tracking, Stopped, Product };
// sixteenColours: flat colours of the standard 16-colour palette, hard edges.
Canvas Icon(IconKind kind, int size, bool sixteenColours);

// The viewer's image strips, each image square, transparent parts in the
// mask colour (magenta): the navigator (21 images of 32: normal Day, Week,
// Month, Year, All years, Custom, Refresh, then the same under the pointer,
// then pressed) and the tool-bar and menu images (New, Open, Save, Add,
// Settings, Delete, Applications, Total) at `size`, edges blended onto
// `background` (0xRRGGBB).
Canvas NavigatorStrip();
Canvas ToolbarStrip(int size, int background);
