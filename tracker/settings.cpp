#include "settings.h"

#include <windows.h>

#include "data_folder.h"
#include "file_write.h"
#include "settings_syntax.h"

int newDayFlag = 1;

namespace {

int ToInt(const std::string& value)
{
    return static_cast<int>(DecimalToInt(value));
}

// Replaced whole through a temporary file, so a crash part way never leaves the
// file cut; a file that cannot be written is left as it was.
bool WriteWhole(const std::string& path, const std::string& bytes)
{
    return WriteWholeFile(path, bytes);
}

// Positions left of or above the main monitor are negative: their sign is read
// back too.
int ToSignedInt(const std::string& value, bool minus)
{
    int magnitude = ToInt(value);
    return minus ? -magnitude : magnitude;
}

} // namespace

Settings::Settings(const std::string& fileName)
    : stream_(), path_(DataFolder() + "\\" + fileName)
{
    stream_ = std::make_unique<TextReader>(path_);
}

Settings::~Settings() = default;

std::string Settings::DataFolder()
{
    return ::DataFolder();
}

std::string Settings::ReadKey()
{
    return ReadSettingsKey(*stream_);
}

std::string Settings::ReadValue(bool* minus)
{
    return ReadSettingsValue(*stream_, minus);
}

LogSettings::LogSettings(const std::string& fileName)
    : Settings(fileName), log_path_(DefaultLogFolder()), startup_(1), new_day_(newDayFlag)
{
}

bool LogSettings::Load()
{
    if (!stream_->IsOpen())
        return false;
    while (!stream_->AtEnd()) {
        std::string key = ReadKey();
        std::string value = ReadValue();
        if (value.empty())
            continue;
        if (key == "log_path") {
            log_path_ = value;
        } else if (key == "startup") {
            startup_ = ToInt(value);
        } else if (key == "new_day") {
            new_day_ = ToInt(value);
            newDayFlag = new_day_;
        }
    }
    stream_->Close();
    return true;
}

bool LogSettings::Save()
{
    return SaveWith(log_path_, startup_, new_day_);
}

bool LogSettings::SaveWith(const std::string& logPath, int startup, int newDay) const
{
    return WriteWhole(path_, SettingsLine("log_path", logPath) + SettingsLine("startup", std::to_string(startup)) +
                                 SettingsLine("new_day", std::to_string(newDay), false));
}

void LogSettings::SetNewDay(int value)
{
    new_day_ = value;
    newDayFlag = value;
}

BannerSettings::BannerSettings(const std::string& fileName) : Settings(fileName)
{
    left_ = DefaultLeft();
    top_ = DefaultTop();
    show_ = 5;
    transparency_ = 170;
}

bool BannerSettings::Load()
{
    if (!stream_->IsOpen())
        return false;
    while (!stream_->AtEnd()) {
        std::string key = ReadKey();
        bool minus = false;
        std::string value = ReadValue(&minus);
        bool empty = value.empty();
        if (key == "top")
            top_ = empty ? GetSystemMetrics(SM_CYFULLSCREEN) / 2 : ToSignedInt(value, minus);
        else if (key == "left")
            left_ = empty ? GetSystemMetrics(SM_CXFULLSCREEN) / 2 : ToSignedInt(value, minus);
        else if (key == "show")
            show_ = empty ? 1 : ToInt(value);
        else if (key == "transparency")
            transparency_ = empty ? 200 : ToInt(value);
    }
    stream_->Close();
    return true;
}

// Centres a strip of 160 x 18 pixels.
int BannerSettings::DefaultLeft()
{
    return GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 80;
}

int BannerSettings::DefaultTop()
{
    return GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 9;
}

bool BannerSettings::Save()
{
    return WriteWhole(path_, SettingsLine("top", std::to_string(top_)) + SettingsLine("left", std::to_string(left_)) +
                                 SettingsLine("show", std::to_string(show_)) +
                                 SettingsLine("transparency", std::to_string(transparency_)));
}

LogSettings logSettings("kaltrow.ini");
BannerSettings bannerSettings("banner.ini");
