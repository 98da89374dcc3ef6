#include "viewer_interface.h"

#include <unordered_map>

#include "views.h"

void Interface::SetLabels(LabelView* periodName, LabelView* year, LabelView* month, LabelView* day,
                          LabelView* custom)
{
    labels_[0] = periodName;
    labels_[1] = year;
    labels_[2] = month;
    labels_[3] = day;
    labels_[4] = custom;
}

void Interface::AddIconRow()
{
    if (project_->size() < 2 || !view_)
        return;
    Applic& row = (*project_)[project_->size() - 2];
    // A row without an icon shows no image rather than another row's.
    int image = icons_ && row.icon ? icons_->AddIcon(row.icon) : -1;
    // The image list keeps a copy; the handle stays with whoever made it (the
    // project's loader, or the add dialog for the row copied from its list),
    // so the project row holds none.
    row.icon = nullptr;
    view_->AddRow(image);
}

void Interface::AddApplication()
{
    if (dialog_ && dialog_->ShowModal() == IDOK)
        AddIconRow();
}

void Interface::DeleteApplication()
{
    if (!view_)
        return;
    int count = view_->ItemCount();
    int i = view_->SelectedIndex();
    // The Total item, the last, is never deleted.
    if (i >= count - 1)
        return;
    int image = view_->ItemImage(i);
    view_->DeleteRow(i);
    if (image < 0 || !icons_)
        return;
    icons_->Remove(image);
    // The images after it moved down one place; so do the items showing them.
    for (int k = 0; k < view_->ItemCount(); ++k) {
        int shown = view_->ItemImage(k);
        if (shown > image)
            view_->SetItemImage(k, shown - 1);
    }
}

void Interface::ClearApplications()
{
    if (view_)
        view_->Clear();
    if (icons_)
        icons_->Clear();
}

void Interface::ShowLabels()
{
    for (LabelView* label : labels_) {
        if (!label)
            return;
    }
    int x = labels_[0]->Left() - 5;
    for (LabelView* label : labels_)
        label->SetVisible(false);
    const std::string* texts = totals_->labels;
    if (texts[0] != "All years") {
        labels_[4]->SetLeft(labels_[0]->Left());
        labels_[4]->SetCaption(texts[0]);
        labels_[4]->SetVisible(true);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        labels_[i]->SetLeft(x + 5);
        if (!texts[i].empty()) {
            labels_[i]->SetCaption(texts[i]);
            labels_[i]->SetVisible(true);
        }
        x += labels_[i]->Width() + 5;
    }
}

size_t FindApplicByFileName(const ApplicList& list, const Applic& row, size_t start)
{
    const std::string key = FileNamePart(row.path);
    for (size_t i = start; i < list.size(); ++i) {
        if (FileNamePart(list[i].path) == key)
            return i;
    }
    return list.size();
}

void MergeProjectRows(Interface& iface, const ApplicList& results)
{
    ApplicList& project = *iface.Project();
    if (!project.empty()) {
        // Each result's file-name part once, with its rows in result order,
        // so long periods do not cost rows times results.
        std::unordered_map<std::string, std::vector<size_t>> byName;
        for (size_t i = 0; i < results.size(); ++i)
            byName[FileNamePart(results[i].path)].push_back(i);

        My_Time sums[4];
        for (size_t p = 0; p + 1 < project.size(); ++p) {
            Applic& row = project[p];
            row.loaded = row.active = row.mouse = row.keyboard = My_Time();
            auto found = byName.find(FileNamePart(row.path));
            if (found != byName.end()) {
                for (size_t i : found->second) {
                    const Applic& r = results[i];
                    row.loaded = AddTimes(row.loaded, r.loaded);
                    row.active = AddTimes(row.active, r.active);
                    row.mouse = AddTimes(row.mouse, r.mouse);
                    row.keyboard = AddTimes(row.keyboard, r.keyboard);
                }
            }
            sums[0] = AddTimes(sums[0], row.loaded);
            sums[1] = AddTimes(sums[1], row.active);
            sums[2] = AddTimes(sums[2], row.mouse);
            sums[3] = AddTimes(sums[3], row.keyboard);
        }
        CopyTimes(project.back(), sums);
        if (iface.View())
            UpdateApplRows(*iface.View(), project);
    }
    RebuildPeriodRows(*iface.Totals());
}

void UpdateApplRows(ApplListView& view, const ApplicList& project)
{
    for (size_t i = 0; i < project.size(); ++i)
        view.UpdateRow(static_cast<int>(i));
}

void UpdatePeriodRows(TotalListView& view, const TotalDates& totals)
{
    for (size_t i = 0; i < totals.periodDates.size(); ++i)
        view.UpdateRow(static_cast<int>(i));
}

void RebuildPeriodRows(const TotalDates& totals)
{
    if (!totals.view)
        return;
    totals.view->Clear();
    UpdatePeriodRows(*totals.view, totals);
}
