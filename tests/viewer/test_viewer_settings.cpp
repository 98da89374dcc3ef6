#include <gtest/gtest.h>

#include "data_folder.h"
#include "viewer_fakes.h"
#include "viewer_settings.h"

namespace {

class SettingsFiles : public ::testing::Test {
protected:
    SettingsFiles()
    {
        SetDataFolderOverride(dir.Path());
        SetCurrentDateOverride(EncodeDate(2024, 3, 5));
    }
    ~SettingsFiles() override
    {
        SetDataFolderOverride("");
        SetCurrentDateOverride(-1);
    }
    TempDir dir;
};

} // namespace

TEST_F(SettingsFiles, InterfaceDefaultsAreWrittenAsSevenLines)
{
    InterfaceSettings s(130);
    EXPECT_FALSE(s.Load());
    EXPECT_TRUE(s.Save());
    const std::string today = std::to_string(static_cast<int>(EncodeDate(2024, 3, 5)));
    EXPECT_EQ(ReadBytes(dir / "interface.ini"), "Proj_path = \r\nWinState = 3\r\nSplitPos = 130\r\nBegDate = " + today +
                                                    "\r\nEndDate = " + today +
                                                    "\r\nautoupdate = 0\r\nautoupdatetime = 5\r\n");
    EXPECT_EQ(s.Path(), dir / "interface.ini");
}

TEST_F(SettingsFiles, InterfaceReadsItsKeysAndWritesThemBack)
{
    WriteBytes(dir / "interface.ini",
               "Proj_path = C:\\My Projects\\a.klr\nWinState = \r\nSplitPos = 200\r\nBegDate = 38000\r\n"
               "EndDate = 38010\nautoupdate = 1\r\nautoupdatetime = 7\r\nsplitpos = 9\r\nBroken line\r\n");
    InterfaceSettings s(100);
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(s.ProjPath(), "C:\\My Projects\\a.klr");
    EXPECT_EQ(s.SplitPos(), 200);
    EXPECT_EQ(s.BegDate(), EncodeDate(2004, 1, 14));
    EXPECT_EQ(s.EndDate(), 38010.0);
    EXPECT_EQ(s.Autoupdate(), 1);
    EXPECT_EQ(s.Autoupdatetime(), 7);
    EXPECT_FALSE(s.Load());   // read once, at start-up
    s.SetSplitPos(250);
    s.Save();
    EXPECT_EQ(ReadBytes(dir / "interface.ini"),
              "Proj_path = C:\\My Projects\\a.klr\r\nWinState = 3\r\nSplitPos = 250\r\nBegDate = 38000\r\n"
              "EndDate = 38010\r\nautoupdate = 1\r\nautoupdatetime = 7\r\n");
}

TEST_F(SettingsFiles, InterfaceStopsAtTheEndByteAndSurvivesHostileLines)
{
    WriteBytes(dir / "interface.ini", std::string("SplitPos = 50\r\n\x1A" "autoupdate = 1\r\n"));
    InterfaceSettings a(1);
    ASSERT_TRUE(a.Load());
    EXPECT_EQ(a.SplitPos(), 50);
    EXPECT_EQ(a.Autoupdate(), 0);

    // An overlong key and value are cut; the next line still reads.
    WriteBytes(dir / "interface.ini", std::string(5000, 'k') + " = 1\r\nProj_path = " + std::string(5000, 'v') +
                                          "\r\nautoupdatetime = 9\r\n" + std::string(3000, '\0'));
    InterfaceSettings b(1);
    ASSERT_TRUE(b.Load());
    // 255 characters are kept after the blanks that follow "=".
    EXPECT_EQ(b.ProjPath(), std::string(255, 'v'));
    EXPECT_EQ(b.Autoupdatetime(), 9);
}

TEST_F(SettingsFiles, LogSettingsReReadsAndWritesThreeLines)
{
    LogSettings s;
    EXPECT_EQ(s.log_path, dir.Path() + "\\Log");
    EXPECT_EQ(s.Startup(), 1);
    EXPECT_EQ(s.NewDay(), 1);
    EXPECT_FALSE(s.Load());   // missing: defaults stay and nothing is created
    EXPECT_FALSE(FileExists(dir / "kaltrow.ini"));

    // The tracker's form of the file: no line end after the last line.
    WriteBytes(dir / "kaltrow.ini", "log_path = \"D:\\My Logs\"\r\nstartup = 0\r\nnew_day = 0");
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(s.log_path, "D:\\My Logs");
    EXPECT_EQ(s.Startup(), 0);
    EXPECT_EQ(s.NewDay(), 0);

    // Read again after the tracker changed it.
    WriteBytes(dir / "kaltrow.ini", "startup = 1\nlog_path = \n");
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(s.Startup(), 1);
    EXPECT_EQ(s.log_path, "D:\\My Logs");

    s.SetNewDay(1);
    s.log_path = "\\\\server\\logs\\";
    EXPECT_TRUE(s.Save());
    EXPECT_EQ(ReadBytes(dir / "kaltrow.ini"), "log_path = \\\\server\\logs\\\r\nstartup = 1\r\nnew_day = 1\r\n");
    LogSettings again;
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.log_path, "\\\\server\\logs\\");
}

TEST_F(SettingsFiles, InterfaceValuesTheProgramCannotUseReadAndAreWrittenAsTheDefault)
{
    const std::string today = std::to_string(static_cast<int>(EncodeDate(2024, 3, 5)));
    // Refresh time and date as read, then as used: 0 is 30 December 1899, 2958465 is 31 December 9999.
    const std::vector<std::vector<std::string>> cases = {
        {"1", "0", "1", "0"}, {"59", "2958465", "59", "2958465"}, {"0", "2958466", "5", today},
        {"60", "99999999", "5", today}, {"4294968", "99999999999", "5", today}};
    for (const auto& c : cases) {
        WriteBytes(dir / "interface.ini",
                   "autoupdatetime = " + c[0] + "\r\nBegDate = " + c[1] + "\r\nEndDate = " + c[1]);
        InterfaceSettings s(1);
        s.Load();
        s.Save();
        EXPECT_NE(ReadBytes(dir / "interface.ini").find("BegDate = " + c[3] + "\r\nEndDate = " + c[3] +
                                                        "\r\nautoupdate = 0\r\nautoupdatetime = " + c[2]),
                  std::string::npos) << c[0] << " " << c[1];
    }
}
