#include "reports.h"

#include "klr_hook.h"
#include "shared_state.h"

namespace {

// An application waits this long in DestroyWindow at most for the tracker.
const UINT kSendTimeoutMs = 500;

UINT MessageOf(Report report)
{
    // Registered on first use in each process: RegisterWindowMessageA is not
    // safe to call while the loader runs DllMain.
    static UINT ids[5];
    const char* const names[5] = {kNewWindowCreatedMsg, kWindowActivatedMsg, kWindowDestroyedMsg,
                                  kWindowMousedMsg, kWindowKeyboradedMsg};
    int i = static_cast<int>(report);
    if (!ids[i])
        ids[i] = RegisterWindowMessageA(names[i]);
    return ids[i];
}

} // namespace

void PostReport(Report report, HWND window)
{
    // A null target would post to this thread's own queue.
    if (g_shared.target)
        PostMessageA(g_shared.target, MessageOf(report), 0, reinterpret_cast<LPARAM>(window));
}

void SendReport(Report report, HWND window)
{
    if (!g_shared.target)
        return;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(g_shared.target, MessageOf(report), 0, reinterpret_cast<LPARAM>(window),
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
}
