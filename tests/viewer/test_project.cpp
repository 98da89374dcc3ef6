#include <gtest/gtest.h>

#include "project.h"
#include "viewer_fakes.h"
#include "viewer_interface.h"

namespace {

HICON NoIcon(const std::string&)
{
    return nullptr;
}

class ProjectFile : public ::testing::Test {
protected:
    ProjectFile() : view(&rows), iface(nullptr, &view, &rows, &icons, &totals), project(&rows, &iface)
    {
        SetShellIconFunction(&NoIcon);
    }
    ~ProjectFile() override { SetShellIconFunction(nullptr); }

    std::vector<std::string> Rows() const
    {
        std::vector<std::string> out;
        for (const Applic& r : rows)
            out.push_back(r.path + "|" + r.name);
        return out;
    }

    TempDir dir;
    ApplicList rows;
    TotalDates totals;
    FakeApplList view;
    FakeImageList icons;
    Interface iface;
    Project project;
};

} // namespace

TEST_F(ProjectFile, SavesOneLinePerApplicationWithoutTheTotal)
{
    rows = {Applic("c:\\windows\\notepad.exe", "Notepad"), Applic("c:\\x y\\b.exe", "B \"q\""), Applic("Total", "")};
    WriteBytes(dir / "p.klr.~klr2147483644.tmp", "left by a crash");
    EXPECT_TRUE(project.Save(dir / "p.klr"));
    EXPECT_FALSE(FileExists(dir / "p.klr.~klr2147483644.tmp"));
    EXPECT_EQ(ReadBytes(dir / "p.klr"),
              "\"c:\\windows\\notepad.exe\"\t\"Notepad\"\r\n\"c:\\x y\\b.exe\"\t\"B \"q\"\"\r\n");
    EXPECT_EQ(project.FileName(), dir / "p.klr");

    rows.clear();
    EXPECT_TRUE(project.Save(dir / "p.klr"));
    EXPECT_EQ(ReadBytes(dir / "p.klr"), "");
    EXPECT_FALSE(FileExists(dir / "p.klr.new"));
    EXPECT_FALSE(project.Save(dir / "no such folder\\p.klr"));
}

TEST_F(ProjectFile, LoadsWhatItSaved)
{
    rows = {Applic("c:\\a.exe", "A"), Applic("c:\\b.exe", "B"), Applic("Total", "")};
    project.Save(dir / "p.klr");
    project.Load(dir / "p.klr");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\a.exe|A", "c:\\b.exe|B", "Total|"}));
    EXPECT_EQ(view.items, (std::vector<std::string>{"A", "B", "Total"}));
    // Twice in a row gives the same rows, not twice as many.
    view.Clear();
    project.Load(dir / "p.klr");
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(ProjectFile, ReadsLfCrLfBlankAndBrokenLines)
{
    WriteBytes(dir / "lf.klr", "\"c:\\a.exe\"\t\"A\"\n\n\"c:\\b.exe\"\t\"B\"\n");
    project.Load(dir / "lf.klr");
    std::vector<std::string> lf = Rows();
    WriteBytes(dir / "crlf.klr", "\"c:\\a.exe\"\t\"A\"\r\n\r\n\"c:\\b.exe\"\t\"B\"\r\n");
    project.Load(dir / "crlf.klr");
    EXPECT_EQ(Rows(), lf);
    EXPECT_EQ(lf, (std::vector<std::string>{"c:\\a.exe|A", "c:\\b.exe|B", "Total|"}));

    // An empty path is skipped; a last line without its line end is read.
    WriteBytes(dir / "b.klr", "\"\"\t\"nothing\"\njunk\n\"c:\\a.exe\"\t\"A\"");
    project.Load(dir / "b.klr");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\a.exe|A", "Total|"}));

    // Everything after a 0x1A byte is ignored.
    WriteBytes(dir / "e.klr", std::string("\"c:\\a.exe\"\t\"A\"\r\n\x1A\"c:\\b.exe\"\t\"B\"\r\n"));
    project.Load(dir / "e.klr");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\a.exe|A", "Total|"}));

    // A path twice gives two rows.
    WriteBytes(dir / "t.klr", "\"c:\\a.exe\"\t\"A\"\n\"c:\\a.exe\"\t\"A\"\n");
    project.Load(dir / "t.klr");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\a.exe|A", "c:\\a.exe|A", "Total|"}));
}

TEST_F(ProjectFile, EmptyMissingAndHostileFiles)
{
    WriteBytes(dir / "empty.klr", "");
    project.Load(dir / "empty.klr");
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(view.items.empty());

    project.Load(dir / "missing.klr");
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(project.FileName(), dir / "missing.klr");

    // Overlong fields are cut and reading goes on to the next line.
    std::string huge(30000, 'p');
    WriteBytes(dir / "long.klr", "\"" + huge + "\"\t\"N\"\n\"c:\\a.exe\"\t\"A\"\n");
    project.Load(dir / "long.klr");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].path, std::string(10022, 'p'));
    EXPECT_EQ(rows[1].path, "c:\\a.exe");

    WriteBytes(dir / "junk.klr", std::string(20000, '\t') + std::string(20000, '"') + std::string(500, '\n'));
    project.Load(dir / "junk.klr");   // comes to an end
    // The first quote opens a path that no TAB ends: the rest of the file,
    // cut, and an empty name after it.
    EXPECT_EQ(Rows(), (std::vector<std::string>{std::string(10022, '"') + "|", "Total|"}));
}

TEST(ProjParser, FieldsSkipToTheirOpeningQuote)
{
    TempDir dir;
    WriteBytes(dir / "f", "  x\"one\"\t  \"two\"\n");
    ProjParser parser(dir / "f");
    ASSERT_TRUE(parser.IsOpen());
    EXPECT_EQ(parser.ReadField(), "one");
    EXPECT_EQ(parser.ReadLastField(), "two");
    EXPECT_FALSE(parser.AtEnd());
    EXPECT_EQ(parser.ReadField(), "");
    EXPECT_TRUE(parser.AtEnd());
}
