#pragma once
#include <windows.h>

#include <string>

#include "viewer_date.h"

// What the model asks of the viewer's controls. The main window implements
// these over its real controls; the model never touches a control itself.
// Every call comes on the UI thread.

// The application list (appl_list): one item per project row, the closing
// "Total" item last. Bound to the project rows by its implementation.
class ApplListView {
public:
    virtual ~ApplListView() = default;
    // Removes the "Total" item when there is one, appends an item for the row
    // just before the closing row with image `image` (-1: none), then "Total".
    virtual void AddRow(int image) = 0;
    // Removes project row i and its item; never the "Total" item. With one
    // application and "Total" left, both go and the project rows become empty.
    virtual void DeleteRow(int i) = 0;
    // Shows the times of project row i in item i (the last item: no loaded time).
    virtual void UpdateRow(int i) = 0;
    virtual void Clear() = 0;
    // The first selected item; ItemCount() when none is selected.
    virtual int SelectedIndex() const = 0;
    virtual int ItemCount() const = 0;
    // The image index of item i; -1 when it shows none.
    virtual int ItemImage(int i) const = 0;
    virtual void SetItemImage(int i, int image) = 0;
    // Off while a project's rows are added, so the control is drawn once.
    virtual void SetRedraw(bool on) = 0;
};

// The period list (tot_list): one item per period date of the current level.
class TotalListView {
public:
    virtual ~TotalListView() = default;
    // Appends an item captioned with period date i in the row date format;
    // nothing when the format is empty.
    virtual void AddRow(int i) = 0;
    virtual void UpdateRow(int i) = 0;   // appends as AddRow does
    virtual void Clear() = 0;
    virtual int SelectedIndex() const = 0;
    virtual int ItemCount() const = 0;
};

// One of the five labels above the period list; it sizes itself to its caption.
class LabelView {
public:
    virtual ~LabelView() = default;
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual int Left() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual int Width() const = 0;
};

// The small icons of the application list.
class ImageListView {
public:
    virtual ~ImageListView() = default;
    // Appends the icon; its index, or -1 when the icon could not be added.
    virtual int AddIcon(HICON icon) = 0;
    // The images after it move down one place.
    virtual void Remove(int image) = 0;
    virtual void Clear() = 0;
    virtual int Count() const = 0;
};

// The add-application dialog, run modally. On OK it has already put the
// chosen row before the closing row of the project rows.
class AddApplicationView {
public:
    virtual ~AddApplicationView() = default;
    virtual int ShowModal() = 0;   // 1 (IDOK) when a row was added
};

// The custom-period dialog. Its OK button asks AcceptCustomRange first.
class CustomPeriodView {
public:
    virtual ~CustomPeriodView() = default;
    // Runs the dialog modally; true on OK, with the two chosen dates.
    virtual bool ShowModal(TDate& start, TDate& final) = 0;
    virtual void SetDates(TDate start, TDate final) = 0;
};

// The progress dialog of a reading run. Called on the UI thread only.
class WaitView {
public:
    virtual ~WaitView() = default;
    virtual void SetPosition(int position) = 0;   // 0 to 100
    virtual void Hide() = 0;
};
