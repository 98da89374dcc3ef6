#include "skins.h"

namespace {

HBITMAP LoadBitmapFile(const char* file)
{
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

} // namespace

MyBitmap::MyBitmap(int width, int height, const char* file, SkinPainter fallback)
    : width_(width), height_(height), bitmap_(LoadBitmapFile(file)), fallback_(fallback)
{
}

void MyBitmap::Draw(int x, int y, HDC dc) const
{
    if (!bitmap_) {
        if (fallback_)
            fallback_(dc, x, y, width_, height_);
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap_);
    BitBlt(dc, x, y, width_, height_, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

MyBarBitmap::MyBarBitmap(int cellWidth, int height, const char* litFile, const char* unlitFile,
                         SkinPainter litFallback, SkinPainter unlitFallback)
    : lit_(cellWidth, height, litFile, litFallback), unlit_(cellWidth, height, unlitFile, unlitFallback)
{
}

void MyBarBitmap::Draw(int x, int y, unsigned percent, HDC dc) const
{
    for (int i = 0; i < kCells; ++i) {
        const MyBitmap& cell = static_cast<unsigned>(i) * 5 <= percent ? lit_ : unlit_;
        cell.Draw(x + i * lit_.Width(), y, dc);
    }
}
