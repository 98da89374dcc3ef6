#include "tracker_ui.h"

#include <set>
#include <vector>

#include "records.h"

MessageBoxFn TrackerMessageBox = MessageBoxA;
MessageBoxWFn TrackerMessageBoxW = MessageBoxW;

namespace {

struct WaitingBox {
    std::string text;
    std::string caption;
    UINT type;
};

std::vector<WaitingBox>& Waiting()
{
    static std::vector<WaitingBox> boxes;
    return boxes;
}

std::multiset<std::string>& OpenTexts()
{
    static std::multiset<std::string> texts;
    return texts;
}

} // namespace

bool TrackerBoxOpen(const std::string& text)
{
    return OpenTexts().count(text) > 0;
}

bool ShowTrackerBox(const std::string& text, const char* caption, UINT type)
{
    if (TrackerLockHeldByThisThread()) {
        for (const WaitingBox& box : Waiting()) {
            if (box.text == text)
                return false;
        }
        Waiting().push_back({text, caption, type});
        return false;
    }
    if (TrackerBoxOpen(text))
        return false;
    auto open = OpenTexts().insert(text);
    TrackerMessageBox(nullptr, text.c_str(), caption, type);
    OpenTexts().erase(open);
    return true;
}

void ShowDeferredBoxes()
{
    if (TrackerLockHeldByThisThread())
        return;
    std::vector<WaitingBox> boxes;
    boxes.swap(Waiting());
    for (const WaitingBox& box : boxes)
        ShowTrackerBox(box.text, box.caption.c_str(), box.type);
}
