#include "list_view.h"

#include <windowsx.h>

namespace ui {

void ListView::Create(Window& parent, Kind kind, int id, DWORD extraStyle)
{
    // The image lists belong to their ui::ImageList objects, which destroy
    // them; without the shared style the control would destroy them too.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_SHAREIMAGELISTS | extraStyle;
    style |= kind == kReport ? LVS_REPORT : LVS_ICON;
    CreateSystem(WC_LISTVIEWA, WS_EX_CLIENTEDGE, style, "", parent.Handle(), Rect(0, 0, 100, 100),
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    width_ = height_ = 100;
    Adopt(parent);
}

void ListView::AddColumn(const std::string& caption, int width)
{
    int n = Header_GetItemCount(ListView_GetHeader(Handle()));
    LVCOLUMNA col;
    ZeroMemory(&col, sizeof(col));
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(caption.c_str());
    col.cx = width;
    col.iSubItem = n;
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&col));
}

void ListView::SetExtendedStyle(DWORD style)
{
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
}

void ListView::SetImageList(HIMAGELIST list, int which)
{
    SendMessageA(Handle(), LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list));
}

void ListView::SetColors(COLORREF background, COLORREF text)
{
    ListView_SetBkColor(Handle(), background);
    ListView_SetTextBkColor(Handle(), background);
    ListView_SetTextColor(Handle(), text);
}

int ListView::ItemCount() const
{
    return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

int ListView::AddItem(const std::string& caption, int image)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ItemCount();
    item.pszText = const_cast<char*>(caption.c_str());
    item.iImage = image;
    return static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::DeleteItem(int i)
{
    SendMessageA(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
}

void ListView::DeleteAllItems()
{
    SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void ListView::SetRedraw(bool on)
{
    SendMessageA(Handle(), WM_SETREDRAW, on, 0);
    if (on)
        InvalidateRect(Handle(), nullptr, TRUE);
}

std::string ListView::ItemText(int i, int column) const
{
    char buffer[1024] = {};
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    SendMessageA(Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void ListView::SetItemText(int i, int column, const std::string& text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

int ListView::ItemImage(int i) const
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void ListView::SetItemImage(int i, int image)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    item.iImage = image;
    SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

UINT ListView::ItemState(int i, UINT mask) const
{
    return static_cast<UINT>(SendMessageA(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), mask));
}

void ListView::SetItemState(int i, UINT state, UINT mask)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = mask;
    item.state = state;
    SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

int ListView::NextItem(int start, UINT flags) const
{
    return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

POINT ListView::ItemPosition(int i) const
{
    POINT p{0, 0};
    SendMessageA(Handle(), LVM_GETITEMPOSITION, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&p));
    return p;
}

void ListView::SetItemPosition(int i, int x, int y)
{
    // The message takes both coordinates as 16-bit values.
    SendMessageA(Handle(), LVM_SETITEMPOSITION, static_cast<WPARAM>(i),
                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

RECT ListView::SubItemRect(int i, int column) const
{
    // The message takes the column in `top` and the part wanted in `left`.
    RECT r{LVIR_BOUNDS, column, 0, 0};
    SendMessageA(Handle(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

bool ListView::OnReflectedNotify(NMHDR* header, LRESULT* result)
{
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        NMLISTVIEW* nm = reinterpret_cast<NMLISTVIEW*>(header);
        bool was = (nm->uOldState & LVIS_SELECTED) != 0;
        bool is = (nm->uNewState & LVIS_SELECTED) != 0;
        if ((nm->uChanged & LVIF_STATE) && was != is && nm->iItem >= 0 && onSelectItem)
            onSelectItem(nm->iItem, is);
        return true;
    }
    case LVN_KEYDOWN:
        if (onKeyDown)
            onKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
        return true;
    case NM_DBLCLK:
        if (onDblClick)
            onDblClick();
        return true;
    case NM_KILLFOCUS:
        if (onExit)
            onExit();
        return true;
    case NM_CUSTOMDRAW:
        *result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        return true;
    }
    return false;
}

bool ListView::OnReflectedContextMenu(POINT screen)
{
    if (!onContextPopup)
        return false;
    onContextPopup(screen);
    return true;
}

LRESULT ListView::CustomDraw(NMLVCUSTOMDRAW* draw)
{
    if (!onCustomDrawItem && !onCustomDrawSubItem)
        return CDRF_DODEFAULT;
    DWORD stage = draw->nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    int item = static_cast<int>(draw->nmcd.dwItemSpec);
    HFONT font = font_ ? font_ : reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    bool drawDefault = true;
    canvas_.Begin(draw->nmcd.hdc, font);
    if (stage == CDDS_ITEMPREPAINT) {
        if (onCustomDrawItem)
            drawDefault = onCustomDrawItem(item);
    } else if (stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        if (onCustomDrawSubItem)
            drawDefault = onCustomDrawSubItem(item, draw->iSubItem);
    } else {
        canvas_.End();
        return CDRF_DODEFAULT;
    }
    bool styled = canvas_.FontStyle() != kPlain;
    if (!styled)
        SelectObject(draw->nmcd.hdc, font);   // a bold cell before must not carry over
    canvas_.End();
    if (!drawDefault)
        return CDRF_SKIPDEFAULT;
    LRESULT answer = CDRF_NEWFONT;
    if (stage == CDDS_ITEMPREPAINT && onCustomDrawSubItem)
        answer |= CDRF_NOTIFYSUBITEMDRAW;
    return answer;
}

LRESULT ListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        if (onMouseLeave && !tracking_) {
            tracking_ = true;
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&tme);
        }
        if (onMouseMove)
            onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (onMouseLeave)
            onMouseLeave();
        break;
    case WM_LBUTTONUP:
        if (onMouseUp)
            onMouseUp();
        break;
    case WM_SIZE: {
        LRESULT result = DefaultProc(msg, wParam, lParam);
        if (onResize)
            onResize();
        return result;
    }
    case WM_LBUTTONDOWN: {
        // The control follows the button itself until it is released and
        // takes the button-up message out of the queue: tell it here.
        LRESULT result = DefaultProc(msg, wParam, lParam);
        if (onMouseUp && !(GetKeyState(VK_LBUTTON) & 0x8000))
            onMouseUp();
        return result;
    }
    }
    return Control::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
