#include "hard_kill.h"

#include <cstdlib>
#include <vector>

#include "test_process.h"
#include "test_support.h"

namespace {

// The pid of the first Unix process of this prefix whose command line names
// `exeName`; 0 when there is none.
int FindUnixProcess(const std::string& exeName)
{
    std::vector<std::string> folders = UnixProcessFolders(exeName);
    return folders.empty() ? 0 : std::atoi(folders.front().c_str() + std::string("Z:\\proc\\").size());
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
