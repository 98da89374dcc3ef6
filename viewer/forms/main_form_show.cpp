#include "main_form.h"

#include "appl_form.h"
#include "cust_form.h"
#include "progress_thread.h"
#include "settings_form.h"
#include "wait_form.h"

void TSDIAppForm::FormShow()
{
    if (shown_)
        return;
    shown_ = true;
    LVStatResize();

    ViewerModel& m = model_;
    m.logSettings.reset(new LogSettings());
    m.logSettings->Load();   // unreadable: the defaults stay, nothing is said
    m.interfaceSettings.reset(new InterfaceSettings(MainPanel.Height() / 2));
    if (!m.interfaceSettings->Load())
        m.interfaceSettings->Save();

    m.applList.reset(new ApplList(&appl_list, &m.projectList));
    m.iface.reset(new Interface(appl_, m.applList.get(), &m.projectList, &iconsView_, &m.totalDates));
    m.iface->SetLabels(&periodNameView_, &yearView_, &monthView_, &dayView_, &customView_);
    m.project.reset(new Project(&m.projectList, m.iface.get()));

    m.day.reset(new StatisticsDay(&m.resultList, &m.totalDates, nullptr));
    m.week.reset(new StatisticsWeek(&m.resultList, &m.totalDates, m.day.get()));
    m.month.reset(new StatisticsMonth(&m.resultList, &m.totalDates, m.day.get()));
    m.year.reset(new StatisticsYear(&m.resultList, &m.totalDates, m.month.get()));
    m.allYears.reset(new StatisticsAllYears(&m.resultList, &m.totalDates, m.year.get()));
    m.custom.reset(new StatisticsCustom(&m.resultList, &m.totalDates));
    for (Statistics* level : m.Levels())
        level->SetLogFolder(m.logSettings->log_path);

    m.period.reset(new Period(0, 0));
    m.klr.reset(new KLR(m.day.get(), m.project.get(), m.iface.get(), m.period.get(), &m.resultList));
    m.mutex.reset(new MyMutex(1, false));
    SetReadingObjects(m.mutex.get(), wait_);
    m.totalList.reset(new TotalList(&tot_list, &m.totalDates));
    m.totalDates.view = m.totalList.get();

    m.period->from = m.period->to = Period::Today();
    m.period->form = cust_;
    m.klr->Show();

    // A project path in quotes loses them; whatever the tail, its first and
    // last characters go.
    if (!m.commandTail.empty()) {
        const std::string& tail = m.commandTail;
        m.interfaceSettings->SetProjPath(tail.size() > 2 ? tail.substr(1, tail.size() - 2) : std::string());
    }
    OpenDialog.SetFileName(m.interfaceSettings->ProjPath());
    OpenProjectFile();

    Total_panel.SetHeight(m.interfaceSettings->SplitPos());
    if (cust_)
        cust_->SetDates(m.interfaceSettings->BegDate(), m.interfaceSettings->EndDate());
    if (m.interfaceSettings->Autoupdate() != 0) {
        RefreshTime.SetInterval(static_cast<UINT>(m.interfaceSettings->Autoupdatetime()) * 1000);
        RefreshTime.SetEnabled(true);
        if (settings_)
            settings_->Autoupdateflag.SetChecked(true);
    }
    // Set once: they keep the start day's names past midnight.
    LVStat.SetItemText(0, 0, Period::DayText());
    LVStat.SetItemText(2, 0, Period::MonthText());
    LVStat.SetItemText(3, 0, Period::YearText());
}

void TSDIAppForm::OpenProjectFile()
{
    const std::string name = OpenDialog.FileName();
    if (name.empty())
        return;
    model_.klr->Open(name);
    SaveDialog.SetFileName(name);
    SetCaption(ProjectCaption(name));
    model_.interfaceSettings->SetProjPath(name);
}

void TSDIAppForm::LVStatResize()
{
    int x = LVStat.ClientWidth() / 2 - 16;
    for (int i = 0; i < LVStat.ItemCount(); ++i)
        LVStat.SetItemPosition(i, x, 70 * i + 17);
}
