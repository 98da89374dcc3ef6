#pragma once
#include <windows.h>

// Paints a plain stand-in for a picture that could not be loaded.
typedef void (*SkinPainter)(HDC dc, int x, int y, int width, int height);

// A picture loaded once from a file relative to the current directory and kept
// for the life of the process.
class MyBitmap {
public:
    MyBitmap(int width, int height, const char* file, SkinPainter fallback = nullptr);

    void Draw(int x, int y, HDC dc) const;

    bool Loaded() const { return bitmap_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Bitmap() const { return bitmap_; }

private:
    int width_;
    int height_;
    HBITMAP bitmap_;
    SkinPainter fallback_;
};

// The activity bar: 20 cells, lit from the left.
class MyBarBitmap {
public:
    static constexpr int kCells = 20;

    MyBarBitmap(int cellWidth, int height, const char* litFile, const char* unlitFile,
                SkinPainter litFallback = nullptr, SkinPainter unlitFallback = nullptr);

    // Cell i is lit when i * 5 <= percent.
    void Draw(int x, int y, unsigned percent, HDC dc) const;

private:
    MyBitmap lit_;
    MyBitmap unlit_;
};
