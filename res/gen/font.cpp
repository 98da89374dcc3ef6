#include "font.h"

#include <cmath>
#include <map>
#include <vector>

namespace {

// Rows of 5 columns, top to bottom; '#' is ink.
const std::map<char, std::vector<const char*>>& PixelGlyphs()
{
    static const std::map<char, std::vector<const char*>> glyphs = {
        {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
        {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
        {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
        {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
        {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
        {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
        {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
        {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
        {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
        {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
        {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
        {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
        {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
        {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
        {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
        {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
        {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
        {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
        {'.', {".", ".", ".", ".", ".", ".", "#"}},
        {'-', {"...", "...", "...", "###", "...", "...", "..."}},
        {' ', {"...", "...", "...", "...", "...", "...", "..."}},
    };
    return glyphs;
}

const std::vector<const char*>& PixelGlyph(char ch)
{
    auto& glyphs = PixelGlyphs();
    auto it = glyphs.find(ch);
    return it != glyphs.end() ? it->second : glyphs.at(' ');
}

int GlyphColumns(const std::vector<const char*>& rows)
{
    return int(std::string(rows[0]).size());
}

// Stroke letters on a grid whose baseline is y = 0 and cap height y = 10,
// y pointing up; each letter is a list of polylines.
struct StrokeGlyph {
    float advance;
    std::vector<std::vector<Vec>> lines;
};

std::vector<Vec> Arc(Vec centre, float radius, float fromDeg, float toDeg, int steps = 40)
{
    std::vector<Vec> pts;
    for (int i = 0; i <= steps; ++i) {
        float a = (fromDeg + (toDeg - fromDeg) * i / steps) * 3.14159265f / 180.0f;
        pts.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return pts;
}

const StrokeGlyph* FindStrokeGlyph(char ch)
{
    static const std::map<char, StrokeGlyph> glyphs = {
        {'K', {7.4f, {{{0, 0}, {0, 10}}, {{6.4f, 10}, {0, 3.4f}}, {{2.5f, 5.9f}, {6.6f, 0}}}}},
        {'a', {8.4f, {Arc({3.5f, 3.5f}, 3.5f, 0, 360), {{7, 7}, {7, 0}}}}},
        {'l', {2.4f, {{{0, 0}, {0, 10.6f}}}}},
        {'t', {4.6f, {{{1.5f, 9.6f}, {1.5f, 0}}, {{0, 7}, {3.6f, 7}}}}},
        {'r', {5.2f, {{{0, 0}, {0, 7}}, Arc({3.6f, 3.4f}, 3.6f, 180, 90, 20)}}},
        {'o', {8.6f, {Arc({3.6f, 3.5f}, 3.6f, 0, 360)}}},
        {'w', {10.4f, {{{0, 7}, {2.4f, 0}, {4.8f, 7}, {7.2f, 0}, {9.6f, 7}}}}},
    };
    auto it = glyphs.find(ch);
    return it != glyphs.end() ? &it->second : nullptr;
}

const float kStrokeGap = 1.5f;   // between letters, in grid units

} // namespace

int PixelTextWidth(const std::string& text, int scale, int spacing)
{
    int w = 0;
    for (char ch : text) w += (GlyphColumns(PixelGlyph(ch)) + spacing) * scale;
    return text.empty() ? 0 : w - spacing * scale;
}

void DrawPixelText(Canvas& c, int x, int y, const std::string& text, const Color& color, int scale,
                   int spacing)
{
    for (char ch : text) {
        const auto& rows = PixelGlyph(ch);
        int cols = GlyphColumns(rows);
        for (int r = 0; r < int(rows.size()); ++r)
            for (int k = 0; k < cols; ++k)
                if (rows[r][k] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            c.Blend(x + k * scale + dx, y + r * scale + dy, color);
        x += (cols + spacing) * scale;
    }
}

float StrokeTextWidth(const std::string& text, float capHeight)
{
    float units = 0;
    for (char ch : text)
        if (const StrokeGlyph* g = FindStrokeGlyph(ch)) units += g->advance + kStrokeGap;
    return text.empty() ? 0 : (units - kStrokeGap) * capHeight / 10.0f;
}

void DrawStrokeText(Canvas& c, float x, float baseline, const std::string& text, float capHeight,
                    float weight, const std::function<Color(int, int)>& paint)
{
    float s = capHeight / 10.0f;
    for (char ch : text) {
        const StrokeGlyph* g = FindStrokeGlyph(ch);
        if (!g) continue;
        // The glyph's segments in pixels; the letter is one shape so that
        // overlapping strokes do not darken where they meet.
        std::vector<std::pair<Vec, Vec>> segs;
        for (const auto& line : g->lines)
            for (size_t i = 1; i < line.size(); ++i)
                segs.push_back({{x + line[i - 1].x * s, baseline - line[i - 1].y * s},
                                {x + line[i].x * s, baseline - line[i].y * s}});
        float half = weight / 2;
        int x0 = int(x - weight), x1 = int(x + g->advance * s + weight) + 1;
        int y0 = int(baseline - 11 * s - weight), y1 = int(baseline + weight) + 1;
        c.Shape(
            [&](Vec p) {
                float d = 1e9f;
                for (const auto& sg : segs) d = std::min(d, DistSegment(p, sg.first, sg.second));
                return d - half;
            },
            paint, x0, y0, x1, y1);
        x += (g->advance + kStrokeGap) * s;
    }
}
