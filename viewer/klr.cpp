#include "klr.h"

#include "period.h"
#include "project.h"
#include "statistics.h"
#include "viewer_interface.h"
#include "views.h"

namespace {

class Guard {
public:
    explicit Guard(bool& flag) : flag_(flag) { flag_ = true; }
    ~Guard() { flag_ = false; }

private:
    bool& flag_;
};

// A list view redrawn once after many changes, not after each.
class RedrawOff {
public:
    explicit RedrawOff(ApplListView* view) : view_(view)
    {
        if (view_)
            view_->SetRedraw(false);
    }
    ~RedrawOff()
    {
        if (view_)
            view_->SetRedraw(true);
    }

private:
    ApplListView* view_;
};

} // namespace

void KLR::Show()
{
    if (showing_)
        return;
    Guard guard(showing_);
    if (recompute && level) {
        if (!level->Run(period_->from, period_->to)) {
            // The failed run emptied the period lists: no period row may
            // point at a date the level no longer holds.
            RebuildPeriodRows(*interface_->Totals());
            return;
        }
        recompute = false;
    }
    MergeProjectRows(*interface_, *results_);
    interface_->ShowLabels();
}

void KLR::Open(const std::string& fileName)
{
    recompute = true;
    interface_->ClearApplications();
    {
        // Each row added to a shown list costs a redraw of it.
        RedrawOff once(interface_->View());
        project_->Load(fileName);
    }
    Show();
}

void KLR::New()
{
    interface_->ClearApplications();
    TotalDates& totals = *interface_->Totals();
    if (totals.view)
        totals.view->Clear();
    results_->clear();
    // All three period lists, so they keep corresponding index by index.
    totals.periodDates.clear();
    totals.totals.clear();
    totals.periodFiles.clear();
    interface_->Project()->clear();
    saved = true;
}

bool KLR::Save(const std::string& fileName)
{
    if (!project_->Save(fileName))
        return false;
    saved = true;
    return true;
}
