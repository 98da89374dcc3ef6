#include "cust_form.h"

#include "dialog_font.h"
#include "help.h"
#include "period.h"
#include "viewer_resource.h"

SYSTEMTIME ToSystemTime(TDate date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    SYSTEMTIME st;
    ZeroMemory(&st, sizeof(st));
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(date) - 1);
    return st;
}

TDate FromSystemTime(const SYSTEMTIME& time)
{
    return EncodeDate(time.wYear, time.wMonth, time.wDay);
}

TCustForm::TCustForm(HWND owner)
{
    Create("Custom", 313, 96, kDialog, owner);
    SetFont(DialogFont());
    CenterOnScreen();
    // Created in tab order: the group's pickers, then Help, Cancel, OK.
    Label1.Create(*this, "Start date:", 8, 24);
    StartDate.Create(*this, 60, 20, 85, 21, IDC_START_DATE);
    Label2.Create(*this, "Final date:", 156, 24);
    EndDate.Create(*this, 208, 20, 85, 21, IDC_END_DATE);
    Button1.Create(*this, "Help", 232, 64, 75, 25, IDC_CUST_HELP);
    Button2.Create(*this, "Cancel", 152, 64, 75, 25, IDC_CUST_CANCEL);
    Button3.Create(*this, "OK", 72, 64, 75, 25, IDC_CUST_OK);
    GroupBox1.Create(*this, "Choose evaluation period", 4, 4, 305, 53);
    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { SetModalResult(IDCANCEL); };
    Button3.onClick = [this] { Button3Click(); };
    SetCancelButton(&Button2);
}

bool TCustForm::ShowModal(TDate& start, TDate& final)
{
    if (Form::ShowModal() != IDOK)
        return false;
    start = StartValue();
    final = EndValue();
    return true;
}

void TCustForm::SetDates(TDate start, TDate final)
{
    StartDate.SetDate(ToSystemTime(start));
    EndDate.SetDate(ToSystemTime(final));
}

TDate TCustForm::StartValue() const
{
    return FromSystemTime(StartDate.Date());
}

TDate TCustForm::EndValue() const
{
    return FromSystemTime(EndDate.Date());
}

void TCustForm::Button3Click()
{
    if (AcceptCustomRange(StartValue(), EndValue()))
        SetModalResult(IDOK);
}

void TCustForm::Button1Click()
{
    ShowHelpTopic(Handle(), IDH_CUSTOM);
}
