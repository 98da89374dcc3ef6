#pragma once
#include "controls.h"
#include "form.h"
#include "label.h"
#include "views.h"

// The custom-period dialog: a start and a final date. Its pickers keep the
// last dates chosen.
class TCustForm : public ui::Form, public CustomPeriodView {
public:
    explicit TCustForm(HWND owner);

    using ui::Form::ShowModal;
    bool ShowModal(TDate& start, TDate& final) override;
    void SetDates(TDate start, TDate final) override;
    TDate StartValue() const;
    TDate EndValue() const;

    // OK: refuses a start after the final date, else closes with OK.
    void Button3Click();
    void Button1Click();

    ui::GroupBox GroupBox1;
    ui::Label Label1;
    ui::DatePicker StartDate;
    ui::Label Label2;
    ui::DatePicker EndDate;
    ui::Button Button1;
    ui::Button Button2;
    ui::Button Button3;
};

// Whole days of the viewer and the pickers' system times.
SYSTEMTIME ToSystemTime(TDate date);
TDate FromSystemTime(const SYSTEMTIME& time);
