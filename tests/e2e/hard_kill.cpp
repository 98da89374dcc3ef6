#include "hard_kill.h"

#include <cstdlib>

#include "test_process.h"

namespace {

std::string ReadProcFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

bool HasEntry(const std::string& variables, const std::string& entry)
{
    size_t at = 0;
    while (at < variables.size()) {
        size_t end = variables.find('\0', at);
        if (end == std::string::npos)
            end = variables.size();
        if (variables.compare(at, end - at, entry) == 0)
            return true;
        at = end + 1;
    }
    return false;
}

int FindUnixProcess(const std::string& exeName)
{
    char prefix[1024] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    const std::string ours = std::string("WINEPREFIX=") + prefix;
    int found = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (data.cFileName[0] < '1' || data.cFileName[0] > '9')
            continue;
        const std::string folder = std::string("Z:\\proc\\") + data.cFileName;
        // A process that has ended has an empty command line.
        if (ReadProcFile(folder + "\\cmdline").find(exeName) == std::string::npos)
            continue;
        if (HasEntry(ReadProcFile(folder + "\\environ"), ours))
            found = std::atoi(data.cFileName);
    } while (found == 0 && FindNextFileA(find, &data));
    FindClose(find);
    return found;
}

} // namespace

HardKiller::HardKiller()
{
    trigger_ = "Z:\\tmp\\klr-kill-" + std::to_string(GetCurrentProcessId());
}

HardKiller::~HardKiller()
{
    DeleteFileA(trigger_.c_str());
}

bool HardKiller::Arm(const std::string& exeName)
{
    int pid = FindUnixProcess(exeName);
    if (pid == 0)
        return false;
    DeleteFileA(trigger_.c_str());
    std::string unixTrigger = "/tmp/klr-kill-" + std::to_string(GetCurrentProcessId());
    // Gives up after some seconds when nothing fires, so no stray kill can follow.
    std::string script = "i=0; while [ ! -e " + unixTrigger + " ] && [ $i -lt 4000 ]; do sleep 0.002; i=$((i+1)); done; " +
                         "[ -e " + unixTrigger + " ] && kill -9 " + std::to_string(pid) + "; rm -f " + unixTrigger;
    std::string line = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA si = NoStandardHandles();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    return true;
}

void HardKiller::Fire()
{
    HANDLE file = CreateFileA(trigger_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}
