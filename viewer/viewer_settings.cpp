#include "viewer_settings.h"

#include <windows.h>

#include <cmath>

#include "data_folder.h"
#include "file_write.h"
#include "settings_syntax.h"
#include "text_reader.h"

namespace {

int ToInt(const std::string& value)
{
    return static_cast<int>(DecimalToInt(value));
}

std::string DayCount(TDate date)
{
    return std::to_string(static_cast<long long>(std::trunc(date)));
}

} // namespace

Settings::Settings(const std::string& fileName) : path_(DataFolder() + "\\" + fileName)
{
    streamGood_ = CanOpen();
}

bool Settings::CanOpen() const
{
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

void Settings::ReadPairs(const std::function<void(const std::string&, const std::string&)>& apply) const
{
    TextReader in(path_);
    while (in.IsOpen() && !in.AtEnd()) {
        std::string key = ReadSettingsKey(in);
        std::string value = ReadSettingsValue(in);
        if (!value.empty())
            apply(key, value);
    }
}

bool Settings::WriteText(const std::string& text) const
{
    return WriteWholeFile(path_, text);
}

LogSettings::LogSettings() : Settings("kaltrow.ini"), log_path(DefaultLogFolder())
{
}

bool LogSettings::Load()
{
    if (!CanOpen())
        return false;
    ReadPairs([this](const std::string& key, const std::string& value) {
        if (key == "log_path")
            log_path = value;
        else if (key == "startup")
            startup_ = ToInt(value);
        else if (key == "new_day")
            new_day_ = ToInt(value);
    });
    return true;
}

bool LogSettings::Save()
{
    return WriteText(SettingsLine("log_path", log_path) + SettingsLine("startup", std::to_string(startup_)) +
                     SettingsLine("new_day", std::to_string(new_day_)));
}

InterfaceSettings::InterfaceSettings(int splitPos)
    : Settings("interface.ini"), SplitPos_(splitPos), BegDate_(CurrentDate()), EndDate_(CurrentDate())
{
}

bool InterfaceSettings::Load()
{
    if (!streamGood_)
        return false;
    ReadPairs([this](const std::string& key, const std::string& value) {
        if (key == "Proj_path")
            Proj_path_ = value;
        else if (key == "WinState")
            WinState_ = ToInt(value);
        else if (key == "SplitPos")
            SplitPos_ = ToInt(value);
        else if (key == "BegDate")
            BegDate_ = ToInt(value);
        else if (key == "EndDate")
            EndDate_ = ToInt(value);
        else if (key == "autoupdate")
            autoupdate_ = ToInt(value);
        else if (key == "autoupdatetime")
            autoupdatetime_ = ToInt(value);
    });
    // Values the timer or the date pickers cannot take are not kept, so they
    // are not written back either.
    if (autoupdatetime_ < 1 || autoupdatetime_ > 59)
        autoupdatetime_ = kDefaultAutoupdatetime;
    if (!PickerCanShow(BegDate_))
        BegDate_ = CurrentDate();
    if (!PickerCanShow(EndDate_))
        EndDate_ = CurrentDate();
    // Read once: later loads find the stream closed.
    streamGood_ = false;
    return true;
}

bool InterfaceSettings::Save()
{
    return WriteText(SettingsLine("Proj_path", Proj_path_) + SettingsLine("WinState", std::to_string(WinState_)) +
                     SettingsLine("SplitPos", std::to_string(SplitPos_)) + SettingsLine("BegDate", DayCount(BegDate_)) +
                     SettingsLine("EndDate", DayCount(EndDate_)) +
                     SettingsLine("autoupdate", std::to_string(autoupdate_)) +
                     SettingsLine("autoupdatetime", std::to_string(autoupdatetime_)));
}
