#include "test_process.h"

#include "pump.h"

namespace {

BOOL CALLBACK PostCloseIfOwned(HWND window, LPARAM pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(pid))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

} // namespace

TestProcess::~TestProcess()
{
    End();
    Close();
}

void TestProcess::End()
{
    if (!IsRunning())
        return;
    EnumWindows(PostCloseIfOwned, static_cast<LPARAM>(pid_));
    if (!WaitForExit(3000))
        Terminate();
}

bool TestProcess::Start(const std::string& exe, const std::vector<std::string>& args,
                        const std::string& workDir)
{
    End();
    Close();
    std::string line = QuoteArgument(exe);
    for (const std::string& a : args)
        line += " " + QuoteArgument(a);
    STARTUPINFOA si = NoStandardHandles();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool TestProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process_ || !WaitPumping(process_, timeoutMs))
        return false;
    if (exitCode)
        GetExitCodeProcess(process_, exitCode);
    return true;
}

bool TestProcess::IsRunning() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void TestProcess::Terminate()
{
    if (!process_)
        return;
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
}

void TestProcess::Close()
{
    if (process_)
        CloseHandle(process_);
    process_ = nullptr;
    pid_ = 0;
}

std::string QuoteArgument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    // Backslashes count only before a quote: double them there.
    std::string out = "\"";
    size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
        } else if (c == '"') {
            out.append(slashes * 2 + 1, '\\');
            slashes = 0;
        } else {
            out.append(slashes, '\\');
            slashes = 0;
        }
        if (c != '\\')
            out += c;
    }
    out.append(slashes * 2, '\\');
    return out + "\"";
}

STARTUPINFOA NoStandardHandles()
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    return si;
}

std::string TestAppPath()
{
    return KLR_TESTAPP_EXE;
}
