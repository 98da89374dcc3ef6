#include "report_lists.h"

#include <cmath>

namespace {

const int kUsageColumnAppl = 6;
const int kUsageColumnTotal = 1;

} // namespace

void MyListView::DeleteSelected()
{
    for (int i = control_->ItemCount() - 1; i >= 0; --i) {
        if (control_->ItemState(i, LVIS_SELECTED) & LVIS_SELECTED)
            control_->DeleteItem(i);
    }
}

void MyListView::SelectItem(int i)
{
    control_->SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int MyListView::SelectedIndex() const
{
    int i = control_->NextItem(-1, LVNI_SELECTED);
    return i < 0 ? control_->ItemCount() : i;
}

void MyListView::Clear()
{
    control_->DeleteAllItems();
}

int MyListView::IconHitTest(int x, int y) const
{
    for (int i = 0; i < control_->ItemCount(); ++i) {
        POINT p = control_->ItemPosition(i);
        if (x >= p.x && x <= p.x + 32 && y >= p.y && y <= p.y + 32)
            return i;
    }
    return -1;
}

void MenuListView::Highlight(int i, bool hover)
{
    int n = control_->ItemCount();
    int image = control_->ItemImage(i);
    if (hover && image < n)
        control_->SetItemImage(i, i + n);
    else if (!hover && image < 2 * n)
        control_->SetItemImage(i, i + 2 * n);
}

void MenuListView::ResetHighlight()
{
    int n = control_->ItemCount();
    for (int i = 0; i < n; ++i) {
        if (control_->ItemImage(i) >= n) {
            control_->SetItemImage(i, i);
            return;
        }
    }
}

UsageBar UsageBarGeometry(const RECT& cell, const Applic& row)
{
    UsageBar u;
    u.frame = RECT{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    uint32_t percent = TimePercent(AddTimes(row.mouse, row.keyboard), row.active);
    double fraction = percent * 0.01;
    if (fraction > 1.0)
        fraction = 1.0;
    int width = u.frame.right - u.frame.left;
    u.bar = RECT{u.frame.left + 2, u.frame.top + 2,
                 u.frame.left + static_cast<LONG>(std::trunc((width - 2) * fraction)), u.frame.bottom - 2};
    u.hasBar = fraction != 0.0;
    return u;
}

void DrawUsageBar(ui::Canvas& canvas, const RECT& cell, const Applic& row)
{
    UsageBar u = UsageBarGeometry(cell, row);
    COLORREF remembered = canvas.BrushColor();
    canvas.SetBrushColor(RGB(0x80, 0x80, 0x80));
    canvas.FrameRect(u.frame);
    canvas.SetBrushColor(RGB(0xC0, 0xC0, 0xC0));
    if (u.hasBar)
        canvas.Rectangle(u.bar);
    canvas.SetBrushColor(remembered);
}

void TotalList::AddRow(int i)
{
    if (!totals_->rowDateFormat.empty())
        control_->AddItem(FormatDate(totals_->rowDateFormat, (*rows_)[static_cast<size_t>(i)]), -1);
}

void TotalList::UpdateRow(int i)
{
    AddRow(i);
}

bool TotalList::DrawSubItem(int item, int column)
{
    if (column != kUsageColumnTotal)
        return true;
    // An item without a period total keeps the default drawing.
    if (item < 0 || static_cast<size_t>(item) >= totals_->totals.size())
        return true;
    DrawUsageBar(control_->DrawCanvas(), control_->SubItemRect(item, column),
                 totals_->totals[static_cast<size_t>(item)]);
    return false;
}

int TotalList::ItemCount() const
{
    return control_->ItemCount();
}

void ApplList::AddRow(int image)
{
    // The Total item is the last: deleted by its index, so a project of n
    // rows loads in n steps, not n passes over its items.
    if (control_->ItemCount() > 0)
        control_->DeleteItem(control_->ItemCount() - 1);
    control_->AddItem((*rows_)[rows_->size() - 2].name, image);
    control_->AddItem("Total", -1);
}

void ApplList::DeleteRow(int i)
{
    int count = control_->ItemCount();
    if (i == count - 1)
        return;
    if (count == 2) {
        // One application and Total: both go, the closing row too.
        SelectItem(1);
        MyReportView<Applic>::DeleteRow(1);
        SelectItem(0);
        MyReportView<Applic>::DeleteRow(0);
        return;
    }
    MyReportView<Applic>::DeleteRow(i);
}

void ApplList::UpdateRow(int i)
{
    Applic& row = (*rows_)[static_cast<size_t>(i)];
    bool total = i == control_->ItemCount() - 1;
    My_Time input = AddTimes(row.mouse, row.keyboard);
    control_->SetItemText(i, 1, total ? std::string(" ") : TimeToText(row.loaded));
    control_->SetItemText(i, 2, TimeToText(row.active));
    control_->SetItemText(i, 3, TimeToText(row.mouse));
    control_->SetItemText(i, 4, TimeToText(row.keyboard));
    control_->SetItemText(i, 5, TimeToText(input));
}

bool ApplList::DrawSubItem(int item, int column)
{
    if (column != kUsageColumnAppl)
        return true;
    if (item < 0 || static_cast<size_t>(item) >= rows_->size())
        return true;
    DrawUsageBar(control_->DrawCanvas(), control_->SubItemRect(item, column), (*rows_)[static_cast<size_t>(item)]);
    return false;
}

bool ApplList::DrawItem(int item)
{
    if (item == control_->ItemCount() - 1)
        control_->DrawCanvas().SetFontStyle(ui::kBold);
    return true;
}

int ApplList::ItemCount() const
{
    return control_->ItemCount();
}
