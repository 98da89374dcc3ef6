#pragma once
#include <cstddef>

#include "applic.h"

class AddApplicationView;
class ApplListView;
class ImageListView;
class LabelView;
class TotalListView;

// Between the model and the two report lists: joins the read records to the
// project rows, adds and deletes project applications, lays out the labels.
class Interface {
public:
    Interface(AddApplicationView* dialog, ApplListView* view, ApplicList* project, ImageListView* icons,
              TotalDates* totals)
        : view_(view), dialog_(dialog), icons_(icons), project_(project), totals_(totals) {}

    void SetLabels(LabelView* periodName, LabelView* year, LabelView* month, LabelView* day, LabelView* custom);

    // Adds a copy of the icon and the item of the row just before the
    // closing row; the row's icon handle is cleared, not destroyed.
    void AddIconRow();
    void AddApplication();
    // Deletes the selected row with its image.
    void DeleteApplication();
    // Removes every item of the application list and every image: the image
    // list holds one image for each row shown.
    void ClearApplications();
    void ShowLabels();

    ApplListView* View() const { return view_; }
    ApplicList* Project() const { return project_; }
    TotalDates* Totals() const { return totals_; }

private:
    ApplListView* view_;
    AddApplicationView* dialog_;
    ImageListView* icons_;
    ApplicList* project_;
    TotalDates* totals_;
    LabelView* labels_[5] = {};
};

// The first row from `start` on whose file-name part equals that of the
// row's path (case-sensitive); list.size() when there is none.
size_t FindApplicByFileName(const ApplicList& list, const Applic& row, size_t start = 0);

// Sums the results into the project rows by file-name part and the project
// rows into the closing row, then redraws both lists. The period list is
// rebuilt from the current period dates also when the project is empty.
void MergeProjectRows(Interface& iface, const ApplicList& results);

void UpdateApplRows(ApplListView& view, const ApplicList& project);
void UpdatePeriodRows(TotalListView& view, const TotalDates& totals);
// Empties the period list and rebuilds it from the period dates.
void RebuildPeriodRows(const TotalDates& totals);
