#pragma once
#include <string>

// The folder of the settings files: "Kaltrow" in the user's application-data
// folder on the NT family (created when missing), else the current directory.
std::string DataFolder();

// The log folder when "kaltrow.ini" names none: the data folder + "\Log".
std::string DefaultLogFolder();
// The log folder a typed `log_path` names, as a start reads it back from
// "kaltrow.ini": trimmed as every value is, and the default when nothing is
// left (an empty folder would put the files at the root of the current drive).
std::string LogFolderAsRead(const std::string& typed);

// Tests point the data folder at a folder of their own; empty restores the rule.
void SetDataFolderOverride(const std::string& folder);
