#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "window.h"

namespace ui {

// A list-view control (icon or report view). Its notifications come back to
// it from its parent, so selection, keys and custom drawing are handled here
// and handed to the callbacks its owner sets.
class ListView : public Control {
public:
    enum Kind { kIcons, kReport };
    void Create(Window& parent, Kind kind, int id, DWORD extraStyle = 0);

    void AddColumn(const std::string& caption, int width);
    void SetExtendedStyle(DWORD style);
    void SetImageList(HIMAGELIST list, int which);
    void SetColors(COLORREF background, COLORREF text);

    int ItemCount() const;
    // Appends an item; its index.
    int AddItem(const std::string& caption, int image);
    void DeleteItem(int i);
    void DeleteAllItems();
    // Off while many items change at once; on again, the control is drawn anew.
    void SetRedraw(bool on);
    std::string ItemText(int i, int column = 0) const;
    void SetItemText(int i, int column, const std::string& text);
    int ItemImage(int i) const;
    void SetItemImage(int i, int image);
    UINT ItemState(int i, UINT mask) const;
    void SetItemState(int i, UINT state, UINT mask);
    // The next item after `start` (-1: from the first) with the state.
    int NextItem(int start, UINT flags) const;
    POINT ItemPosition(int i) const;
    void SetItemPosition(int i, int x, int y);
    RECT SubItemRect(int i, int column) const;

    // Valid while a custom-draw callback runs.
    Canvas& DrawCanvas() { return canvas_; }

    std::function<void(int item, bool selected)> onSelectItem;
    std::function<void(WORD key)> onKeyDown;
    std::function<void(int x, int y)> onMouseMove;
    std::function<void()> onMouseUp;
    std::function<void()> onMouseLeave;
    std::function<void()> onDblClick;
    std::function<void()> onExit;
    std::function<void(POINT screen)> onContextPopup;
    std::function<void()> onResize;
    // Answer true to let the control draw the item or cell itself.
    std::function<bool(int item)> onCustomDrawItem;
    std::function<bool(int item, int column)> onCustomDrawSubItem;

protected:
    bool OnReflectedNotify(NMHDR* header, LRESULT* result) override;
    bool OnReflectedContextMenu(POINT screen) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT CustomDraw(NMLVCUSTOMDRAW* draw);

    Canvas canvas_;
    bool tracking_ = false;
};

} // namespace ui
