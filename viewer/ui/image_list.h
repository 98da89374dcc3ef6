#pragma once
#include <windows.h>
#include <commctrl.h>

namespace ui {

// An image list of one image size; destroyed with the object, its only
// owner (the list views it is set on share it).
class ImageList {
public:
    ImageList() = default;
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    void Create(int width, int height);
    // Appends the images of a strip bitmap resource; `mask` marks the
    // pixels that stay transparent.
    bool AddStrip(int bitmapId, COLORREF mask);
    // Appends a copy of the icon; its index, or -1 when it could not be
    // added. The icon stays the caller's.
    int AddIcon(HICON icon);
    // Removes one image (the later ones move down one place), or all.
    void Remove(int image);
    void Clear();
    int Count() const;
    HIMAGELIST Handle() const { return list_; }

private:
    HIMAGELIST list_ = nullptr;
};

} // namespace ui
