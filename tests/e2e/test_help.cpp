// klr.chm of the dist folder as the programs open it. Wine here has no browser
// engine, so the help window stays blank: the evidence is Wine's HTML Help
// trace, which topic a context resolves to and whether its stream opens. The
// test runs through wine-run-traced, whose trace file also gets the trace of
// the programs the test starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "html_help.h"
#include "pump.h"
#include "top_windows.h"
#include "tracker_run.h"

namespace {

const WPARAM kTrackerHelpCommand = 3;         // Help of the indicator's menu
const WPARAM kViewerHelpContents = 40012;     // Help > Contents

class HelpTrace : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* file = std::getenv("KLR_WINE_TRACE");
        ASSERT_NE(file, nullptr) << "not run through wine-run-traced";
        path_ = std::string("Z:") + file;
        for (char& c : path_)
            c = c == '/' ? '\\' : c;
        from_ = ReadBytes(path_).size();
    }
    // Waits until the trace shows `topic` resolved from a context and its
    // stream opened; on failure says what the contexts resolved to.
    void ExpectOpened(const std::string& topic)
    {
        std::string trace;
        bool opened = PumpUntil([&] {
            trace = ReadBytes(path_).substr(from_);
            size_t alias = trace.find("FindContextAlias returning \"" + topic + "\"");
            size_t open = trace.find("Resolving L\"/" + topic + "\"\n", alias);
            if (alias == std::string::npos || open == std::string::npos)
                return false;
            size_t next = trace.find('\n', open) + 1;
            return trace.substr(next, trace.find('\n', next) - next).find(":ITSS_create_stream ") != std::string::npos;
        }, 10000);
        std::string resolved;
        for (size_t at = 0; (at = trace.find("FindContextAlias", at)) != std::string::npos; ++at)
            resolved += trace.substr(at, trace.find('\n', at) - at) + "; ";
        EXPECT_TRUE(opened) << topic << " not opened; " << (resolved.empty() ? "no context resolved" : resolved);
        from_ += trace.size();
    }

    std::string path_;
    size_t from_ = 0;
};

} // namespace

TEST_F(HelpTrace, EachContextOpensItsOwnTopicOfTheShippedFile)
{
    ASSERT_TRUE(SetCurrentDirectoryA(DistFolder().c_str()));  // "klr.chm" by its relative name
    const struct {
        unsigned context;
        const char* topic;
    } contexts[] = {{1001, "main_window.htm"}, {1006, "indicator.htm"}, {1009, "settings.htm"},
                    {1014, "add_application.htm"}, {1015, "custom_period.htm"}};
    for (const auto& c : contexts) {
        ShowHelpContext(nullptr, c.context);
        ExpectOpened(c.topic);
    }
}

TEST_F(HelpTrace, TrackersHelpMenuItemOpensTheIndicatorTopic)
{
    TrackerWorld world;
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    PostMessageA(indicator, WM_COMMAND, kTrackerHelpCommand, 0);
    ExpectOpened("indicator.htm");
    EXPECT_TRUE(CloseTracker(tracker, indicator));
}

TEST_F(HelpTrace, ViewersHelpContentsOpensTheMainWindowTopic)
{
    TrackerWorld world;  // the settings files, with a log folder of the test's own
    TestProcess viewer;
    ASSERT_TRUE(viewer.Start(DistFolder() + "\\klr_stat.exe", {}, DistFolder()));
    HWND main = WaitForTopWindow([&](HWND w) {
        return WindowProcessId(w) == viewer.Pid() && WindowText(w).find(" - Kaltrow") != std::string::npos;
    }, 30000);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, kViewerHelpContents, 0);
    ExpectOpened("main_window.htm");
    viewer.End();
}
