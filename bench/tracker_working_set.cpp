// Starts kaltrow.exe from the dist folder (or the folder given as the second
// argument), lets it run for a minute (or the seconds given as the first
// argument) and prints its memory figures.
// The settings files of the prefix's data folder are put back afterwards and
// the statistics go to a temporary log folder.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "data_folder.h"
#include "test_support.h"

namespace {

double Kib(SIZE_T bytes)
{
    return static_cast<double>(bytes) / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    std::string folder = argc > 2 ? argv[2] : KLR_DIST_DIR;
    std::string ini = DataFolder() + "\\kaltrow.ini";
    std::string banner = DataFolder() + "\\banner.ini";
    bool hadIni = FileExists(ini), hadBanner = FileExists(banner);
    std::string savedIni = ReadBytes(ini);
    std::string savedBanner = ReadBytes(banner);

    // The prefix's own settings come back however the run ends.
    auto restoreSettings = [&] {
        if (hadIni)
            WriteBytes(ini, savedIni);
        else
            DeleteFileA(ini.c_str());
        if (hadBanner)
            WriteBytes(banner, savedBanner);
        else
            DeleteFileA(banner.c_str());
    };

    TempDir log;
    WriteBytes(ini, "log_path = " + log.Path() + "\r\nstartup = 1\r\nnew_day = 0");

    std::string command = "\"" + folder + "\\kaltrow.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        std::printf("cannot start %s\n", command.c_str());
        restoreSettings();
        return 1;
    }
    std::printf("kaltrow.exe running for %d s...\n", seconds);
    std::fflush(stdout);
    bool ended = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000u) == WAIT_OBJECT_0;

    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (ended || !GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                       sizeof(memory))) {
        std::printf("the tracker ended early or its figures could not be read\n");
    } else {
        std::printf("working set        %10.0f KiB\n", Kib(memory.WorkingSetSize));
        std::printf("peak working set   %10.0f KiB\n", Kib(memory.PeakWorkingSetSize));
        std::printf("private bytes      %10.0f KiB\n", Kib(memory.PrivateUsage));
        std::printf("pagefile usage     %10.0f KiB\n", Kib(memory.PagefileUsage));
        std::printf("page faults        %10lu\n", static_cast<unsigned long>(memory.PageFaultCount));
    }

    if (HWND indicator = FindWindowA(nullptr, "Kaltrow"))
        PostMessageA(indicator, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    restoreSettings();
    return 0;
}
