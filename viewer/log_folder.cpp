#include "log_folder.h"

#include <windows.h>

#include <algorithm>

#include "file_read.h"
#include "log_paths.h"
#include "settings_syntax.h"
#include "statistics.h"

namespace {

std::vector<int> EnumNumeric(const std::string& folder, bool folders)
{
    std::vector<int> numbers;
    ForEachEntry(folder + "*", [&](const WIN32_FIND_DATAA& entry) {
        std::string name = entry.cFileName;
        bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool keep = folders ? isFolder && name != "." && name != ".." : !isFolder && name != "total";
        if (!keep)
            return;
        // "2025 - Copy" or "5 (1)" beside "2025" or "5": the number is read once.
        int number = static_cast<int>(DecimalToInt(name));
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end())
            numbers.push_back(number);
    });
    return numbers;
}

} // namespace

std::string UserLogFolder(const Statistics& level)
{
    return LogUserFolder(level.LogFolder(), WindowsUserName()) + "\\";
}

std::string YearFolder(const Statistics& level, TDate date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return UserLogFolder(level) + std::to_string(y);
}

std::string MonthFolder(const Statistics& level, TDate date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return YearFolder(level, date) + "\\" + std::to_string(m);
}

std::vector<int> EnumNumericFolders(const std::string& folder)
{
    return EnumNumeric(folder, true);
}

std::vector<int> EnumNumericFiles(const std::string& folder)
{
    return EnumNumeric(folder, false);
}
