#pragma once
#include <vector>

#include "applic.h"
#include "list_view.h"
#include "views.h"

// Wrappers that drive the viewer's three list views: the period navigator
// (MenuListView over LVStat) and the two report lists (TotalList over
// tot_list, ApplList over appl_list). None owns its control or its rows.

class MyListView {
public:
    explicit MyListView(ui::ListView* control) : control_(control) {}
    virtual ~MyListView() = default;
    MyListView(const MyListView&) = delete;
    MyListView& operator=(const MyListView&) = delete;

    // Deletes the control's selected items.
    virtual void DeleteSelected();
    void SelectItem(int i);
    // The first selected item; the item count when none is selected.
    int SelectedIndex() const;
    void Clear();
    // The first item whose 32 x 32 icon box, bounds included, holds the
    // point; -1 when none does.
    int IconHitTest(int x, int y) const;
    ui::ListView* Control() const { return control_; }

protected:
    ui::ListView* control_;
};

class MyIconView : public MyListView {
public:
    using MyListView::MyListView;
    virtual void Highlight(int i, bool hover) = 0;
    virtual void ResetHighlight() = 0;
};

// The navigator's images: i at rest, i + n under the pointer, i + 2n pressed
// (n items).
class MenuListView : public MyIconView {
public:
    using MyIconView::MyIconView;
    // Hover shows the pointer-over image of an item at rest; pressed the
    // pressed image of an item at rest or under the pointer.
    void Highlight(int i, bool hover) override;
    // Puts the first item not at rest back to its own image.
    void ResetHighlight() override;
};

template <class Row>
class MyReportView : public MyListView {
public:
    MyReportView(ui::ListView* control, std::vector<Row>* rows) : MyListView(control), rows_(rows) {}

    // Erases row i, then the control's selected items: the caller selects item i first.
    virtual void DeleteRow(int i)
    {
        rows_->erase(rows_->begin() + i);
        DeleteSelected();
    }
    virtual void AddRow(int i) = 0;
    virtual void UpdateRow(int i) = 0;
    // True: the control draws the cell itself.
    virtual bool DrawSubItem(int item, int column) { return true; }
    virtual bool DrawItem(int item) = 0;

protected:
    std::vector<Row>* rows_;
};

// The frame and the bar of a usage-activity cell: the frame is the cell
// inset by 2; the bar fills (frame width - 2) x fraction from the frame's
// left edge, 2 pixels inside top, bottom and left. The fraction is the input
// time (mouse + keyboard) against the active time, at most 1.
struct UsageBar {
    RECT frame;
    RECT bar;
    bool hasBar;   // false at fraction 0: only the frame is drawn
};
UsageBar UsageBarGeometry(const RECT& cell, const Applic& row);
// Draws the grey frame and the silver bar on the control's canvas.
void DrawUsageBar(ui::Canvas& canvas, const RECT& cell, const Applic& row);

// The period list: one item per period date, the usage bar of its period
// total in column 1.
class TotalList : public MyReportView<TDate>, public TotalListView {
public:
    TotalList(ui::ListView* control, TotalDates* totals)
        : MyReportView<TDate>(control, &totals->periodDates), totals_(totals) {}

    void AddRow(int i) override;
    void UpdateRow(int i) override;
    bool DrawSubItem(int item, int column) override;
    bool DrawItem(int) override { return true; }

    void Clear() override { MyListView::Clear(); }
    int SelectedIndex() const override { return MyListView::SelectedIndex(); }
    int ItemCount() const override;

private:
    TotalDates* totals_;
};

// The application list: one item per project row, "Total" last, in bold.
class ApplList : public MyReportView<Applic>, public ApplListView {
public:
    ApplList(ui::ListView* control, ApplicList* project) : MyReportView<Applic>(control, project) {}

    void AddRow(int image) override;
    void DeleteRow(int i) override;
    void UpdateRow(int i) override;
    bool DrawSubItem(int item, int column) override;
    bool DrawItem(int item) override;

    void Clear() override { MyListView::Clear(); }
    int SelectedIndex() const override { return MyListView::SelectedIndex(); }
    int ItemCount() const override;
    int ItemImage(int i) const override { return control_->ItemImage(i); }
    void SetItemImage(int i, int image) override { control_->SetItemImage(i, image); }
    void SetRedraw(bool on) override { control_->SetRedraw(on); }
};
