#include "main_form.h"

#include "viewer_resource.h"

void TSDIAppForm::ShowLevel(Statistics* level)
{
    model_.klr->level = level;
    model_.klr->Show();
}

bool TSDIAppForm::Computing() const
{
    // Inside the error box of a run the timer and queued choices still come:
    // they change neither the level nor the period, and compute nothing.
    return !model_.klr || model_.klr->Busy();
}

void TSDIAppForm::LVStatSelectItem(int item, bool selected)
{
    if (!selected)
        return;
    // Cleared, so the same item can be chosen again at once.
    LVStat.SetItemState(item, 0, LVIS_FOCUSED | LVIS_SELECTED);
    if (Computing())
        return;
    menuListView_->Highlight(item, false);
    model_.klr->recompute = true;
    Period& period = *model_.period;
    switch (item) {
    case 0:
        period.from = period.to = Period::Today();
        ShowLevel(model_.day.get());
        break;
    case 1:
        period.SetWeek(Period::Today());
        ShowLevel(model_.week.get());
        break;
    case 2:
        monthClick();
        break;
    case 3:
        yearClick();
        break;
    case 4:
        PeriodNameClick();
        break;
    case 5: {
        // The guard lets every second call through without the dialog; one
        // selection comes per choice here, so a choice it swallowed asks again.
        bool chosen = period.AskCustomRange();
        if (!chosen && !period.toggle)
            chosen = period.AskCustomRange();
        if (chosen) {
            model_.interfaceSettings->SetBegDate(period.from);
            model_.interfaceSettings->SetEndDate(period.to);
            ShowLevel(model_.custom.get());
        }
        break;
    }
    case 6:
        model_.klr->Show();
        break;
    }
}

void TSDIAppForm::LVStatMouseMove(int x, int y)
{
    int i = menuListView_->IconHitTest(x, y);
    if (i == -1)
        menuListView_->ResetHighlight();
    else
        menuListView_->Highlight(i, true);
}

void TSDIAppForm::LVStatMouseUp()
{
    menuListView_->ResetHighlight();
}

void TSDIAppForm::LVStatKeyDown(WORD key)
{
    if (key == VK_F1)
        Contents1Click();
}

void TSDIAppForm::PeriodNameClick()
{
    if (Computing())
        return;
    model_.klr->recompute = true;
    ShowLevel(model_.allYears.get());
}

void TSDIAppForm::yearClick()
{
    if (Computing())
        return;
    model_.klr->recompute = true;
    model_.period->from = model_.period->to = Period::Today();
    ShowLevel(model_.year.get());
}

void TSDIAppForm::monthClick()
{
    if (Computing())
        return;
    model_.klr->recompute = true;
    model_.period->from = model_.period->to = Period::Today();
    ShowLevel(model_.month.get());
}

void TSDIAppForm::tot_listSelectItem(int item, bool selected)
{
    if (!selected || Computing())
        return;
    model_.klr->recompute = true;
    size_t i = static_cast<size_t>(model_.totalList->SelectedIndex());
    Statistics* parent = model_.klr->level ? model_.klr->level->Parent() : nullptr;
    // Only a row that still stands for one of the level's dates leads down.
    if (!parent || i >= model_.totalDates.periodDates.size())
        return;
    model_.period->from = model_.period->to = model_.totalDates.periodDates[i];
    ShowLevel(parent);
}

void TSDIAppForm::tot_listKeyDown(WORD key)
{
    LVStatKeyDown(key);
}

bool TSDIAppForm::tot_listCustomDrawSubItem(int item, int column)
{
    return model_.totalList ? model_.totalList->DrawSubItem(item, column) : true;
}

void TSDIAppForm::appl_listSelectItem(int, bool)
{
    ToolBar1.EnableButton(ID_DEL_APPL, true);
    MainMenu1.EnableItem(ID_DEL_APPL, true);
}

void TSDIAppForm::appl_listExit()
{
    ToolBar1.EnableButton(ID_DEL_APPL, false);
    MainMenu1.EnableItem(ID_DEL_APPL, false);
}

void TSDIAppForm::appl_listKeyDown(WORD key)
{
    if (key == VK_DELETE)
        del_applExecute();
    LVStatKeyDown(key);
}

void TSDIAppForm::appl_listContextPopup(POINT)
{
    POINT at;
    GetCursorPos(&at);
    Appl_popup.Popup(Handle(), at);
}

bool TSDIAppForm::appl_listCustomDrawItem(int item)
{
    return model_.applList ? model_.applList->DrawItem(item) : true;
}

bool TSDIAppForm::appl_listCustomDrawSubItem(int item, int column)
{
    if (!model_.applList)
        return true;
    // Both, for every cell: the Total row's cells are all bold.
    bool cell = model_.applList->DrawSubItem(item, column);
    bool row = model_.applList->DrawItem(item);
    return cell && row;
}
