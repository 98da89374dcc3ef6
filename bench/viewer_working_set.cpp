// The viewer's memory beside a trivial Win32 program's, as the tracker's bench
// does it: baseline_app.exe and klr_stat.exe from the dist folder (or the
// folder given as the third argument), several runs, median and range. The
// viewer shows its main window on an empty log folder.
//   viewer_working_set [seconds per run, 20] [runs, 5] [folder]
// The settings files of the prefix's data folder are put back afterwards.
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

    DataFolderFiles keep({"kaltrow.ini", "interface.ini"});
    TempDir log;
    WriteBytes(DataFolder() + "\\kaltrow.ini", "log_path = " + log.Path() + "\r\nstartup = 1\r\nnew_day = 0");
    DeleteFileA((DataFolder() + "\\interface.ini").c_str());

    CompareWithBaseline(folder, "klr_stat.exe", "", seconds, runs);
    return 0;
}
