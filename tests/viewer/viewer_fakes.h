#pragma once
// Stand-ins for the viewer's controls and a log tree built on disk.
#include <windows.h>

#include <string>
#include <vector>

#include "applic.h"
#include "log_paths.h"
#include "messages.h"
#include "my_mutex.h"
#include "progress_thread.h"
#include "stat_record.h"
#include "test_support.h"
#include "views.h"

// The application list as the report-list wrapper behaves, over the project rows.
class FakeApplList : public ApplListView {
public:
    explicit FakeApplList(ApplicList* rows) : rows_(rows) {}
    void AddRow(int image) override
    {
        if (!items.empty())
            items.pop_back();
        items.push_back((*rows_)[rows_->size() - 2].name);
        images.push_back(image);
        items.push_back("Total");
    }
    void DeleteRow(int i) override
    {
        if (i == ItemCount() - 1)
            return;
        if (ItemCount() == 2) {
            rows_->clear();
            items.clear();
            return;
        }
        rows_->erase(rows_->begin() + i);
        items.erase(items.begin() + i);
    }
    void UpdateRow(int i) override { updated.push_back(i); }
    void Clear() override { items.clear(); }
    int SelectedIndex() const override { return selected < 0 ? ItemCount() : selected; }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    int ItemImage(int) const override { return -1; }
    void SetItemImage(int, int) override {}
    void SetRedraw(bool) override {}

    std::vector<std::string> items;
    std::vector<int> images;
    std::vector<int> updated;
    int selected = -1;

private:
    ApplicList* rows_;
};

class FakeTotalList : public TotalListView {
public:
    explicit FakeTotalList(const TotalDates* totals) : totals_(totals) {}
    void AddRow(int i) override
    {
        if (!totals_->rowDateFormat.empty())
            items.push_back(FormatDate(totals_->rowDateFormat, totals_->periodDates[i]));
    }
    void UpdateRow(int i) override { AddRow(i); }
    void Clear() override
    {
        items.clear();
        ++clears;
    }
    int SelectedIndex() const override { return ItemCount(); }
    int ItemCount() const override { return static_cast<int>(items.size()); }

    std::vector<std::string> items;
    int clears = 0;

private:
    const TotalDates* totals_;
};

// Width: 10 pixels per character of the caption.
class FakeLabel : public LabelView {
public:
    explicit FakeLabel(int left = 0) : left(left) {}
    void SetCaption(const std::string& text) override { caption = text; }
    void SetVisible(bool v) override { visible = v; }
    int Left() const override { return left; }
    void SetLeft(int x) override { left = x; }
    int Width() const override { return static_cast<int>(caption.size()) * 10; }

    std::string caption;
    bool visible = true;
    int left;
};

class FakeImageList : public ImageListView {
public:
    int AddIcon(HICON icon) override
    {
        icons.push_back(icon);
        return static_cast<int>(icons.size()) - 1;
    }
    void Remove(int image) override { icons.erase(icons.begin() + image); }
    void Clear() override { icons.clear(); }
    int Count() const override { return static_cast<int>(icons.size()); }
    std::vector<HICON> icons;
};

class FakeWait : public WaitView {
public:
    void SetPosition(int p) override
    {
        positions.push_back(p);
        threads.push_back(GetCurrentThreadId());
    }
    void Hide() override { ++hides; }
    std::vector<int> positions;
    std::vector<DWORD> threads;
    int hides = 0;
};

// Collects message boxes instead of showing them.
struct MessageLog {
    struct Box {
        std::string text, caption;
        unsigned flags;
    };
    static std::vector<Box>& Boxes()
    {
        static std::vector<Box> boxes;
        return boxes;
    }
    static int Record(const std::string& text, const std::string& caption, unsigned flags)
    {
        Boxes().push_back({text, caption, flags});
        return IDOK;
    }
    MessageLog()
    {
        Boxes().clear();
        SetMessageBoxFunction(&Record);
    }
    ~MessageLog() { SetMessageBoxFunction(nullptr); }
};

inline std::string Record(const std::string& name, My_Time loaded, My_Time active, My_Time mouse, My_Time keyboard)
{
    std::string out;
    AppendStatRecord(out, name, loaded.TimeToText(), active.TimeToText(), mouse.TimeToText(), keyboard.TimeToText());
    return out;
}

// A log folder under a test folder, for the running user.
class LogTree {
public:
    LogTree() : user_(LogUserFolder(dir_.Path(), WindowsUserName())) { MakeFolders(user_); }
    const std::string& LogPath() const { return dir_.Path(); }
    std::string User() const { return user_ + "\\"; }
    // Writes a file at a path relative to the user folder, e.g. "2024\\3\\5".
    void File(const std::string& relative, const std::string& bytes) const
    {
        std::string path = user_ + "\\" + relative;
        MakeFolders(path.substr(0, path.rfind('\\')));
        WriteBytes(path, bytes);
    }
    void Folder(const std::string& relative) const { MakeFolders(user_ + "\\" + relative); }
    // A file whose one record is named by its own relative path, active 1 s,
    // so a run's results tell exactly which files were read.
    void Tagged(const std::string& relative) const
    {
        File(relative, Record(relative, My_Time(), My_Time(0, 0, 1), My_Time(), My_Time()));
    }

private:
    TempDir dir_;
    std::string user_;
};

// The paths of the rows read, in order: with Tagged files, the files read.
inline std::vector<std::string> Paths(const ApplicList& rows)
{
    std::vector<std::string> paths;
    for (const Applic& r : rows)
        paths.push_back(r.path);
    return paths;
}

// The shared lists of a run and a statistics mutex of the test's own.
struct RunLists {
    explicit RunLists(int mutexNumber) : mutex(mutexNumber, false) { SetReadingObjects(&mutex, nullptr); }
    ~RunLists() { SetReadingObjects(nullptr, nullptr); }
    ApplicList results;
    TotalDates totals;
    MyMutex mutex;
};
