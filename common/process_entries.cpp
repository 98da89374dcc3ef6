#include "process_entries.h"

HWND RootWindow(HWND window)
{
    HWND root = window;
    while (HWND parent = GetParent(root))
        root = parent;
    return root;
}

bool ToolhelpExeFile(CreateToolhelp32SnapshotFn snapshot, Process32FirstFn first, Process32NextFn next,
                     DWORD processId, std::string& exeFile)
{
    if (!snapshot || !first || !next)
        return false;
    HANDLE list = snapshot(TH32CS_SNAPPROCESS, 0);
    if (list == INVALID_HANDLE_VALUE || !list)
        return false;
    PROCESSENTRY32 entry;
    ZeroMemory(&entry, sizeof(entry));
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = first(list, &entry); more; more = next(list, &entry)) {
        if (entry.th32ProcessID == processId) {
            // Nothing promises the text ends within its field.
            entry.szExeFile[sizeof(entry.szExeFile) - 1] = '\0';
            exeFile = entry.szExeFile;
            found = true;
            break;
        }
    }
    CloseHandle(list);
    return found;
}
