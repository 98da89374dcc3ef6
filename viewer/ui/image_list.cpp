#include "image_list.h"

#include "window.h"

namespace ui {

ImageList::~ImageList()
{
    if (list_)
        ImageList_Destroy(list_);
}

void ImageList::Create(int width, int height)
{
    list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 8, 8);
}

bool ImageList::AddStrip(int bitmapId, COLORREF mask)
{
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!strip)
        return false;
    int added = ImageList_AddMasked(list_, strip, mask);
    DeleteObject(strip);
    return added >= 0;
}

int ImageList::AddIcon(HICON icon)
{
    if (!list_ || !icon)
        return -1;
    return ImageList_ReplaceIcon(list_, -1, icon);
}

void ImageList::Remove(int image)
{
    if (list_ && image >= 0)
        ImageList_Remove(list_, image);
}

void ImageList::Clear()
{
    if (list_)
        ImageList_RemoveAll(list_);
}

int ImageList::Count() const
{
    return list_ ? ImageList_GetImageCount(list_) : 0;
}

} // namespace ui
