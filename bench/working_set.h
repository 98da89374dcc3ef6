#pragma once
#include <string>
#include <vector>

// Memory of a program under test, as the system reports it for its process.
struct MemoryFigures {
    bool ok = false;
    double workingSetKib = 0;
    double peakWorkingSetKib = 0;
    double privateKib = 0;
};

// Starts `program` (a file name in `folder`, which is also its current
// directory), lets it run for `seconds`, reads its figures and then asks it to
// close: WM_CLOSE to its top-level window titled `closeTitle`, or to each of
// its visible top-level windows when `closeTitle` is empty. A program that has
// not ended 15 s later is terminated.
MemoryFigures MeasureProgram(const std::string& folder, const std::string& program, int seconds,
                             const std::string& closeTitle);

// `runs` rounds of baseline_app.exe and then `program` from `folder`, each
// measured after `seconds` (see MeasureProgram); prints each program's median
// and range and how far the program's median working set lies above the
// baseline's.
void CompareWithBaseline(const std::string& folder, const std::string& program, const std::string& closeTitle,
                         int seconds, int runs);

// The folder of this bench program, where baseline_app.exe lies.
std::string BenchFolder();

// Keeps the named files of the prefix's data folder as they were: their bytes
// (or their absence) come back when the object goes, however the run ended.
class DataFolderFiles {
public:
    explicit DataFolderFiles(const std::vector<std::string>& names);
    ~DataFolderFiles();
    DataFolderFiles(const DataFolderFiles&) = delete;
    DataFolderFiles& operator=(const DataFolderFiles&) = delete;

private:
    struct Saved {
        std::string path;
        bool existed;
        std::string bytes;
    };
    std::vector<Saved> saved_;
};
