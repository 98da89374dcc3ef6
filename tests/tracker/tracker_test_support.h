#pragma once
// Seams of the tracker set by tests: message boxes that only record, and a clock.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "stat_file.h"
#include "tracker_ui.h"

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type;
};

inline std::vector<ShownBox>& ShownBoxes()
{
    static std::vector<ShownBox> boxes;
    return boxes;
}

// Runs while a recorded box is "open", like the loop of a real one.
inline std::function<void()>& WhileBoxOpen()
{
    static std::function<void()> action;
    return action;
}

inline int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    ShownBoxes().push_back({text ? text : "", caption ? caption : "", type});
    if (WhileBoxOpen())
        WhileBoxOpen()();
    return IDOK;
}

// Every message box of the tracker is recorded instead of shown while it lives.
class BoxRecorder {
public:
    BoxRecorder() : old_(TrackerMessageBox)
    {
        ShownBoxes().clear();
        WhileBoxOpen() = nullptr;
        TrackerMessageBox = RecordBox;
    }
    ~BoxRecorder()
    {
        TrackerMessageBox = old_;
        WhileBoxOpen() = nullptr;
        // A short write posts the quit message to this thread; later tests must not see it.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    const std::vector<ShownBox>& Boxes() const { return ShownBoxes(); }

private:
    MessageBoxFn old_;
};

inline SYSTEMTIME& TestNow()
{
    static SYSTEMTIME now;
    return now;
}

inline void ReadTestClock(SYSTEMTIME* time)
{
    *time = TestNow();
}

// The tracker's clock reads what the test sets while this lives.
class TestClock {
public:
    TestClock(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) : old_(ReadLocalTime)
    {
        Set(year, month, day, hour, minute, second);
        ReadLocalTime = ReadTestClock;
        lastDayCheck.Refresh();
    }
    ~TestClock() { ReadLocalTime = old_; }
    void Set(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
    {
        SYSTEMTIME t = {};
        t.wYear = static_cast<WORD>(year);
        t.wMonth = static_cast<WORD>(month);
        t.wDay = static_cast<WORD>(day);
        t.wHour = static_cast<WORD>(hour);
        t.wMinute = static_cast<WORD>(minute);
        t.wSecond = static_cast<WORD>(second);
        TestNow() = t;
    }

private:
    LocalTimeSource old_;
};

// One statistics line as the files hold it.
inline std::string StatLine(const std::string& name, const std::string& loaded, const std::string& active,
                            const std::string& mouse = "0:0:0", const std::string& keyboard = "0:0:0")
{
    return "\"" + name + "\"\t" + loaded + "\t" + active + "\t" + mouse + "\t" + keyboard + "\n";
}

inline bool QuitWasPosted()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
