#pragma once
#include <string>

// The folder of the settings files: "Kaltrow" in the user's application-data
// folder on the NT family (created when missing), else the current directory.
std::string DataFolder();

// Tests point the data folder at a folder of their own; empty restores the rule.
void SetDataFolderOverride(const std::string& folder);
