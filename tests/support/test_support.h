#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A folder of its own for one test, under the prefix's temporary folder;
// removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
void MakeFolders(const std::string& path);   // every missing level
void RemoveTree(const std::string& path);
// Opens `path` for reading without sharing, as a backup program or a virus
// scanner may hold it: no other process can open it until it is closed.
HANDLE HoldUnshared(const std::string& path);
// The names in `folder` that match `pattern`, sorted: its plain files, or with
// `folders` its sub-folders ("." and ".." left out).
std::vector<std::string> NamesIn(const std::string& folder, bool folders = false, const std::string& pattern = "*");

// Folders Z:\proc\<pid> of the Unix processes (seen through Wine's drive Z:)
// whose command line holds `commandWord`, in any case, and whose environment
// names this process's WINEPREFIX: Wine programs of this prefix, or its
// wineserver. A process that has ended has an empty command line.
std::vector<std::string> UnixProcessFolders(const std::string& commandWord);
// A file of such a folder, read to its end (files of /proc have no size).
std::string ReadUnixFile(const std::string& path);
