#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "data_folder.h"
#include "settings.h"
#include "test_support.h"

namespace {

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDataFolderOverride(dir_.Path());
        newDayFlag = 1;
    }
    void TearDown() override
    {
        SetDataFolderOverride("");
        newDayFlag = 1;
    }

    std::string Ini() const { return dir_ / "kaltrow.ini"; }
    std::string Banner() const { return dir_ / "banner.ini"; }

    TempDir dir_;
};

int HalfWidth()
{
    return GetSystemMetrics(SM_CXFULLSCREEN) / 2;
}

int HalfHeight()
{
    return GetSystemMetrics(SM_CYFULLSCREEN) / 2;
}

} // namespace

TEST_F(SettingsFiles, MissingFilesKeepDefaultsAndSaveThemByteForByte)
{
    LogSettings log("kaltrow.ini");
    EXPECT_EQ(log.Path(), Ini());
    EXPECT_FALSE(log.Load());
    EXPECT_EQ(log.LogPath(), dir_ / "Log");
    EXPECT_EQ(log.Startup(), 1);
    EXPECT_EQ(log.NewDay(), 1);
    log.Save();
    EXPECT_EQ(ReadBytes(Ini()), "log_path = " + dir_.Path() + "\\Log\r\nstartup = 1\r\nnew_day = 1");

    BannerSettings banner("banner.ini");
    EXPECT_FALSE(banner.Load());
    EXPECT_EQ(banner.Left(), HalfWidth() - 80);
    EXPECT_EQ(banner.Top(), HalfHeight() - 9);
    EXPECT_EQ(banner.Show(), 5);
    EXPECT_EQ(banner.Transparency(), 170);
    banner.Save();
    EXPECT_EQ(ReadBytes(Banner()), "top = " + std::to_string(HalfHeight() - 9) + "\r\nleft = " +
                                       std::to_string(HalfWidth() - 80) + "\r\nshow = 5\r\ntransparency = 170\r\n");
}

TEST_F(SettingsFiles, SavedFilesReadBackTheSame)
{
    {
        LogSettings log("kaltrow.ini");
        log.SetLogPath("D:\\Work Logs\\");
        log.SetStartup(0);
        log.SetNewDay(0);
        log.Save();
        BannerSettings banner("banner.ini");
        banner.SetPosition(-40, 300);
        banner.SetShow(0);
        banner.SetTransparency(255);
        banner.Save();
    }
    EXPECT_EQ(ReadBytes(Ini()), "log_path = D:\\Work Logs\\\r\nstartup = 0\r\nnew_day = 0");
    EXPECT_EQ(ReadBytes(Banner()), "top = 300\r\nleft = -40\r\nshow = 0\r\ntransparency = 255\r\n");

    newDayFlag = 1;
    LogSettings log("kaltrow.ini");
    ASSERT_TRUE(log.Load());
    EXPECT_EQ(log.LogPath(), "D:\\Work Logs\\");
    EXPECT_EQ(log.Startup(), 0);
    EXPECT_EQ(log.NewDay(), 0);
    EXPECT_EQ(newDayFlag, 0);
    BannerSettings banner("banner.ini");
    ASSERT_TRUE(banner.Load());
    // A strip on a monitor left of the main one comes back there.
    EXPECT_EQ(banner.Left(), -40);
    EXPECT_EQ(banner.Top(), 300);
    EXPECT_EQ(banner.Show(), 0);
    EXPECT_EQ(banner.Transparency(), 255);
}

TEST_F(SettingsFiles, EveryLogFolderAndPositionSavedReadsBackWhole)
{
    const std::string paths[] = {
        "D:\\Logs (old)", "D:\\Logs_", "\\\\server\\logs-", "E:\\[work] ~1",
        "C:\\" + std::string(252, 'p'),  // 255 characters
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        {
            LogSettings log("kaltrow.ini");
            log.SetLogPath(path);
            log.Save();
        }
        LogSettings log("kaltrow.ini");
        ASSERT_TRUE(log.Load());
        EXPECT_EQ(log.LogPath(), path);
    }
    const int positions[][2] = {{-1920, -1080}, {-1, 0}, {0, -17}, {2560, 1440}};
    for (const auto& at : positions) {
        SCOPED_TRACE(std::to_string(at[0]) + ", " + std::to_string(at[1]));
        {
            BannerSettings banner("banner.ini");
            banner.SetPosition(at[0], at[1]);
            banner.Save();
        }
        BannerSettings banner("banner.ini");
        ASSERT_TRUE(banner.Load());
        EXPECT_EQ(banner.Left(), at[0]);
        EXPECT_EQ(banner.Top(), at[1]);
    }
}

TEST_F(SettingsFiles, HandWrittenSignsAreDroppedExceptOnPositions)
{
    WriteBytes(Ini(), "startup = -1\r\nnew_day = -3\r\n");
    LogSettings log("kaltrow.ini");
    ASSERT_TRUE(log.Load());
    EXPECT_EQ(log.Startup(), 1);
    EXPECT_EQ(log.NewDay(), 3);
    WriteBytes(Banner(), "left = \"-40\"\r\ntop = - 5\r\nshow = -5\r\ntransparency = -200;\r\n");
    BannerSettings banner("banner.ini");
    ASSERT_TRUE(banner.Load());
    EXPECT_EQ(banner.Left(), -40);
    EXPECT_EQ(banner.Top(), 5);
    EXPECT_EQ(banner.Show(), 5);
    EXPECT_EQ(banner.Transparency(), 200);
}

TEST_F(SettingsFiles, SavesReplaceTheFileAndNeverWriteIntoTheOldOne)
{
    // A second name of the old file shows whether a save wrote into it: a crash
    // part way through such a write would leave it cut. Replaced, it keeps its bytes.
    const std::string oldIni = "log_path = X:\\Old\r\nstartup = 0\r\nnew_day = 0";
    const std::string oldBanner = "top = 1\r\nleft = 2\r\nshow = 5\r\ntransparency = 9\r\n";
    WriteBytes(Ini(), oldIni);
    WriteBytes(Banner(), oldBanner);
    TempDir keep;
    ASSERT_TRUE(CreateHardLinkA((keep / "ini").c_str(), Ini().c_str(), nullptr));
    ASSERT_TRUE(CreateHardLinkA((keep / "banner").c_str(), Banner().c_str(), nullptr));

    LogSettings log("kaltrow.ini");
    ASSERT_TRUE(log.Load());
    log.SetLogPath("Y:\\New");
    log.Save();
    BannerSettings banner("banner.ini");
    ASSERT_TRUE(banner.Load());
    banner.SetPosition(-7, 8);
    banner.Save();

    EXPECT_EQ(ReadBytes(Ini()), "log_path = Y:\\New\r\nstartup = 0\r\nnew_day = 0");
    EXPECT_EQ(ReadBytes(Banner()), "top = 8\r\nleft = -7\r\nshow = 5\r\ntransparency = 9\r\n");
    EXPECT_EQ(ReadBytes(keep / "ini"), oldIni);
    EXPECT_EQ(ReadBytes(keep / "banner"), oldBanner);
    // Nothing of the replacement stays beside the files.
    EXPECT_EQ(NamesIn(dir_.Path()), (std::vector<std::string>{"banner.ini", "kaltrow.ini"}));
}

TEST_F(SettingsFiles, SingleLinesReadAsTheTableSays)
{
    struct Case {
        const char* line;
        const char* path;
        int startup;
    };
    const Case cases[] = {
        {"startup = -1", nullptr, 1},
        {"startup = 0", nullptr, 0},
        {"startup=0", nullptr, 0},
        {"Startup = 0", nullptr, 1},
        {"startup = abc", nullptr, 0},
        {"startup = ", nullptr, 1},
        {"log_path = \"D:\\My Logs\"", "D:\\My Logs", 1},
        {"log_path = \\\\server\\logs\\", "\\\\server\\logs\\", 1},
        {"  log_path =  C:\\Logs\\  ", "C:\\Logs\\", 1},
        {"log_path = ", nullptr, 1},
        {"log_path = ...", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteBytes(Ini(), std::string(c.line) + "\r\n");
        LogSettings log("kaltrow.ini");
        ASSERT_TRUE(log.Load());
        EXPECT_EQ(log.LogPath(), c.path ? std::string(c.path) : dir_ / "Log");
        EXPECT_EQ(log.Startup(), c.startup);
    }
}

TEST_F(SettingsFiles, BannerValuesAndTheirEmptyValueDefaults)
{
    WriteBytes(Banner(), "transparency = 200;\r\nshow = abc\r\ntop = \r\nleft = \r\n");
    BannerSettings a("banner.ini");
    ASSERT_TRUE(a.Load());
    EXPECT_EQ(a.Transparency(), 200);
    EXPECT_EQ(a.Show(), 0);
    EXPECT_EQ(a.Top(), HalfHeight());
    EXPECT_EQ(a.Left(), HalfWidth());

    WriteBytes(Banner(), "show = \r\ntransparency = \"\"\r\n");
    BannerSettings b("banner.ini");
    ASSERT_TRUE(b.Load());
    EXPECT_EQ(b.Show(), 1);
    EXPECT_EQ(b.Transparency(), 200);
    // Keys the file lacks keep the constructor defaults.
    EXPECT_EQ(b.Top(), HalfHeight() - 9);
    EXPECT_EQ(b.Left(), HalfWidth() - 80);
}

TEST_F(SettingsFiles, LineEndsAndTheLastLineReadAlike)
{
    const char* files[] = {
        "log_path = X:\\L\r\nstartup = 0\r\nnew_day = 0",
        "log_path = X:\\L\r\nstartup = 0\r\nnew_day = 0\r\n",
        "log_path = X:\\L\nstartup = 0\nnew_day = 0\n",
        "\r\n\r\nlog_path = X:\\L\r\n\r\nstartup = 0\r\nnew_day = 0\r\n\r\n",
    };
    for (const char* bytes : files) {
        SCOPED_TRACE(bytes);
        WriteBytes(Ini(), bytes);
        newDayFlag = 1;
        LogSettings log("kaltrow.ini");
        ASSERT_TRUE(log.Load());
        EXPECT_EQ(log.LogPath(), "X:\\L");
        EXPECT_EQ(log.Startup(), 0);
        EXPECT_EQ(log.NewDay(), 0);
    }
}

TEST_F(SettingsFiles, StrayLineSwallowsTheNextKeyAndTheLastDuplicateWins)
{
    WriteBytes(Ini(), "some stray words\r\nstartup = 0\r\nnew_day = 5\r\nnew_day = 7\r\n");
    LogSettings log("kaltrow.ini");
    ASSERT_TRUE(log.Load());
    EXPECT_EQ(log.Startup(), 1);
    EXPECT_EQ(log.NewDay(), 7);
}

TEST_F(SettingsFiles, NewDayFlagFollowsReadsAndSetters)
{
    WriteBytes(Ini(), "new_day = 0\r\n");
    LogSettings first("kaltrow.ini");
    EXPECT_EQ(first.NewDay(), 1);
    ASSERT_TRUE(first.Load());
    EXPECT_EQ(newDayFlag, 0);

    // A later object starts from the value in force when its file lacks the key.
    WriteBytes(Ini(), "startup = 1\r\n");
    LogSettings later("kaltrow.ini");
    ASSERT_TRUE(later.Load());
    EXPECT_EQ(later.NewDay(), 0);

    later.SetNewDay(3);
    EXPECT_EQ(newDayFlag, 3);
    EXPECT_EQ(later.NewDay(), 3);
    // Setters change memory only.
    EXPECT_EQ(ReadBytes(Ini()), "startup = 1\r\n");
}

TEST_F(SettingsFiles, EachObjectReadsItsFileOnceAndAnEmptyFileKeepsDefaults)
{
    WriteBytes(Ini(), "");
    LogSettings log("kaltrow.ini");
    EXPECT_TRUE(log.Load());
    EXPECT_FALSE(log.Load());
    EXPECT_EQ(log.Startup(), 1);
    EXPECT_EQ(ReadBytes(Ini()), "");
}

TEST_F(SettingsFiles, OverlongKeysAndValuesAreCutAndReadingGoesOn)
{
    // 60 characters before "=": only the first 49 count, so the key is not known.
    std::string longKey = std::string(60, ' ') + "startup";
    std::string longPath = "C:\\" + std::string(300, 'p');
    WriteBytes(Ini(), longKey + " = 0\r\nlog_path = " + longPath + "\r\nnew_day = 0\r\n");
    LogSettings log("kaltrow.ini");
    ASSERT_TRUE(log.Load());
    EXPECT_EQ(log.Startup(), 1);
    // The first 255 characters after the blanks that follow "=" count.
    EXPECT_EQ(log.LogPath(), longPath.substr(0, 255));
    EXPECT_EQ(log.NewDay(), 0);
}

TEST_F(SettingsFiles, HostileFilesAreReadToTheirEnd)
{
    // Every byte value but the end-of-file mark; "=" and a line feed then end
    // whatever field the junk stopped in, so the last lines read as written.
    std::string junk;
    for (int i = 0; i < 70000; ++i) {
        char c = static_cast<char>((i * 7919) % 256);
        junk += c == 0x1A ? '\0' : c;
    }
    WriteBytes(Ini(), junk + "=\nstartup = 0\r\nnew_day = 0\r\n");
    LogSettings log("kaltrow.ini");
    EXPECT_TRUE(log.Load());
    EXPECT_EQ(log.Startup(), 0);
    EXPECT_EQ(log.NewDay(), 0);
    EXPECT_LE(log.LogPath().size(), 255u);

    WriteBytes(Banner(), std::string(100000, '=') + "\r\n" + std::string(100000, 'x') + "=\r\nshow = 0\r\n");
    BannerSettings banner("banner.ini");
    EXPECT_TRUE(banner.Load());
    EXPECT_EQ(banner.Show(), 0);
}

TEST_F(SettingsFiles, UnwritableFolderWritesNothing)
{
    SetDataFolderOverride(dir_ / "missing\\deeper");
    LogSettings log("kaltrow.ini");
    log.Save();
    EXPECT_FALSE(FileExists(dir_ / "missing\\deeper\\kaltrow.ini"));
}
