#pragma once
#include <string>
#include <vector>

#include "viewer_date.h"

class Statistics;

// Paths of the log folder under a level's log folder text, which is used
// exactly as stored. The user folder ends with a backslash; the year and
// month folders do not.
std::string UserLogFolder(const Statistics& level);
std::string YearFolder(const Statistics& level, TDate date);
std::string MonthFolder(const Statistics& level, TDate date);

// The numbers of a folder's sub-folders, or of its plain files except
// "total", each number once, in the order first listed. A name counts by its
// leading decimal digits (0 without any). The folder text ends with a
// backslash. A missing folder gives an empty list.
std::vector<int> EnumNumericFolders(const std::string& folder);
std::vector<int> EnumNumericFiles(const std::string& folder);
