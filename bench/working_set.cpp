#include "working_set.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "data_folder.h"
#include "test_support.h"
#ifdef KLR_PARK_WITH_XDOTOOL
#include "x_input.h"
#endif

namespace {

struct CloseRequest {
    DWORD processId;
    const std::string* title;
    int posted;
};

BOOL CALLBACK PostCloseToWindow(HWND window, LPARAM param)
{
    auto& request = *reinterpret_cast<CloseRequest*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != request.processId)
        return TRUE;
    if (request.title->empty()) {
        if (!IsWindowVisible(window))
            return TRUE;
    } else {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof(text));
        if (*request.title != text)
            return TRUE;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    ++request.posted;
    return TRUE;
}

// The pointer away from the screen's centre, where Xvfb starts it and the
// tracker's strip opens: resting on the strip, it makes the strip's tips and
// loads their library, which a tracker nobody points at does not. Wine does
// not always move the X pointer for SetCursorPos, so xdotool does it here.
void ParkPointer()
{
#ifdef KLR_PARK_WITH_XDOTOOL
    if (RunXdotool("mousemove 0 0"))
        return;
#endif
    SetCursorPos(0, 0);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintFigure(const char* label, const std::vector<MemoryFigures>& runs,
                 const std::function<double(const MemoryFigures&)>& pick)
{
    std::vector<double> values;
    for (const MemoryFigures& run : runs)
        if (run.ok)
            values.push_back(pick(run) / 1024.0);
    if (values.empty())
        return;
    auto range = std::minmax_element(values.begin(), values.end());
    std::printf("  %-18s median %7.1f MB  range %7.1f .. %7.1f MB  (%u runs)\n", label, Median(values),
                *range.first, *range.second, static_cast<unsigned>(values.size()));
}


void PrintRuns(const std::string& name, const std::vector<MemoryFigures>& runs)
{
    std::printf("%s\n", name.c_str());
    PrintFigure("working set", runs, [](const MemoryFigures& f) { return f.workingSetKib; });
    PrintFigure("peak working set", runs, [](const MemoryFigures& f) { return f.peakWorkingSetKib; });
    PrintFigure("private bytes", runs, [](const MemoryFigures& f) { return f.privateKib; });
}

double MedianWorkingSetKib(const std::vector<MemoryFigures>& runs)
{
    std::vector<double> values;
    for (const MemoryFigures& run : runs)
        if (run.ok)
            values.push_back(run.workingSetKib);
    return Median(values);
}

} // namespace

MemoryFigures MeasureProgram(const std::string& folder, const std::string& program, int seconds,
                             const std::string& closeTitle)
{
    MemoryFigures figures;
    ParkPointer();
    std::string command = "\"" + folder + "\\" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        std::printf("cannot start %s\n", command.c_str());
        return figures;
    }
    bool ended = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000u) == WAIT_OBJECT_0;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (ended) {
        std::printf("%s ended before it was measured\n", program.c_str());
    } else if (GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                    sizeof(memory))) {
        figures.ok = true;
        figures.workingSetKib = static_cast<double>(memory.WorkingSetSize) / 1024.0;
        figures.peakWorkingSetKib = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
        figures.privateKib = static_cast<double>(memory.PrivateUsage) / 1024.0;
        std::printf("  %s: working set %.1f MB\n", program.c_str(), figures.workingSetKib / 1024.0);
    }
    CloseRequest request{process.dwProcessId, &closeTitle, 0};
    EnumWindows(PostCloseToWindow, reinterpret_cast<LPARAM>(&request));
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
        std::printf("%s did not close; terminated\n", program.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return figures;
}


std::string BenchFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

DataFolderFiles::DataFolderFiles(const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        std::string path = DataFolder() + "\\" + name;
        bool existed = FileExists(path);
        saved_.push_back({path, existed, existed ? ReadBytes(path) : std::string()});
    }
}

DataFolderFiles::~DataFolderFiles()
{
    for (const Saved& file : saved_) {
        if (file.existed)
            WriteBytes(file.path, file.bytes);
        else
            DeleteFileA(file.path.c_str());
    }
}

void CompareWithBaseline(const std::string& folder, const std::string& program, const std::string& closeTitle,
                         int seconds, int runs)
{
    std::vector<MemoryFigures> baseline, measured;
    for (int i = 0; i < runs; ++i) {
        std::printf("run %d of %d: baseline_app.exe, then %s, %d s each\n", i + 1, runs, program.c_str(), seconds);
        std::fflush(stdout);
        baseline.push_back(MeasureProgram(BenchFolder(), "baseline_app.exe", seconds, "Baseline"));
        measured.push_back(MeasureProgram(folder, program, seconds, closeTitle));
    }
    PrintRuns("baseline_app.exe", baseline);
    PrintRuns(program + " (" + folder + ")", measured);
    std::printf("%s above the baseline: %.1f MB (medians of the working sets)\n", program.c_str(),
                (MedianWorkingSetKib(measured) - MedianWorkingSetKib(baseline)) / 1024.0);
}
