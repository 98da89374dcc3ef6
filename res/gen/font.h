#pragma once
// Two tiny type faces drawn from data in code: a 5 x 7 pixel face for small
// labels and a geometric stroke face for the product name.
#include <functional>
#include <string>

#include "canvas.h"

// Upper-case letters, digits, '.', '-' and space; other characters draw as space.
int PixelTextWidth(const std::string& text, int scale = 1, int spacing = 1);
void DrawPixelText(Canvas& c, int x, int y, const std::string& text, const Color& color,
                   int scale = 1, int spacing = 1);

// Stroke letters sized by their cap height in pixels; `baseline` is the y of the
// letters' feet. Only the letters the pictures need are defined.
float StrokeTextWidth(const std::string& text, float capHeight);
void DrawStrokeText(Canvas& c, float x, float baseline, const std::string& text, float capHeight,
                    float weight, const std::function<Color(int, int)>& paint);
