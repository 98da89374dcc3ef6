#include "font.h"

#include <cstring>
#include <vector>

namespace ui {

namespace {

struct Entry {
    char face[LF_FACESIZE];
    int height;
    unsigned style;
    HFONT font;
};

std::vector<Entry>& Fonts()
{
    static std::vector<Entry> fonts;
    return fonts;
}

} // namespace

HFONT GetFont(const char* face, int pixelHeight, unsigned style)
{
    for (const Entry& e : Fonts()) {
        if (e.height == pixelHeight && e.style == style && std::strcmp(e.face, face) == 0)
            return e.font;
    }
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfHeight = -pixelHeight;   // the character height, as form designers give it
    lf.lfWeight = (style & kBold) ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = (style & kUnderline) ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    Entry e;
    lstrcpynA(e.face, face, LF_FACESIZE);
    e.height = pixelHeight;
    e.style = style;
    e.font = CreateFontIndirectA(&lf);
    Fonts().push_back(e);
    return e.font;
}

HFONT WithStyle(HFONT font, unsigned style)
{
    for (const Entry& e : Fonts()) {
        if (e.font == font)
            return GetFont(e.face, e.height, style);
    }
    LOGFONTA lf;
    if (!font || !GetObjectA(font, sizeof(lf), &lf))
        return font;
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    return GetFont(lf.lfFaceName, height, style);
}

HFONT SystemFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace ui
