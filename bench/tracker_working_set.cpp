// The tracker's memory beside a trivial Win32 program's, both as shipped:
// starts baseline_app.exe and then kaltrow.exe from the dist folder (or the
// folder given as the third argument) several times, lets each run for a while
// and prints the median and range of their figures.
//   tracker_working_set [seconds per run, 20] [runs, 5] [folder]
// The settings files of the prefix's data folder are put back afterwards and
// the statistics go to a temporary log folder.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "data_folder.h"
#include "test_support.h"
#include "working_set.h"

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string folder = argc > 3 ? argv[3] : KLR_DIST_DIR;

    DataFolderFiles keep({"kaltrow.ini", "banner.ini"});
    TempDir log;
    WriteBytes(DataFolder() + "\\kaltrow.ini", "log_path = " + log.Path() + "\r\nstartup = 1\r\nnew_day = 0");

    CompareWithBaseline(folder, "kaltrow.exe", "Kaltrow", seconds, runs);
    return 0;
}
