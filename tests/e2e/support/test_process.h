#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A program a test starts, without standard handles; ended (see End) when the
// test leaves it running.
class TestProcess {
public:
    TestProcess() = default;
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    // Starts `exe` with `args` (quoted as needed) in `workDir`, or in this
    // process's current folder when it is empty.
    bool Start(const std::string& exe, const std::vector<std::string>& args = {},
               const std::string& workDir = "");
    // True with the exit code once the program has ended; false on timeout.
    // Messages are dispatched meanwhile.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool IsRunning() const;
    void Terminate();
    // Ends the program if it runs: a close request to each of its top-level
    // windows, terminated only if it has not ended 3 s later. Under Wine a
    // program terminated while a global hook runs in it leaves hooks behind in
    // the wineserver (a hook removed later can still be removed again), and
    // the hook tests that follow fail.
    void End();

    HANDLE Handle() const { return process_; }
    DWORD Pid() const { return pid_; }

private:
    void Close();

    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// One argument for a Windows command line, read back unchanged by the
// usual parsing rules.
std::string QuoteArgument(const std::string& arg);

// Start-up data that gives a program no standard handles. Under Wine a
// child otherwise gets this process's, and a test runner reading them (ctest)
// waits until every program started has ended.
STARTUPINFOA NoStandardHandles();

// The Windows path of klr_testapp.exe in the build tree.
std::string TestAppPath();
