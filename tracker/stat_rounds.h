#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Every statistics file on disk is whole at every moment, and it is replaced
// only by a newer whole copy of itself:
// - a round writes each of its files whole, flushed, as
//   "~k<mark>.<year>[.<month>[.<day>]].new" in the file's user folder, then
//   creates the empty "~k<mark>.ok" there: that is the round's commit, and a
//   copy whose mark has no ".ok" is never moved;
// - then, for each file, the older committed copies go and only then is the new
//   one moved onto the file; an ".ok" goes with the last of its copies.
// Marks only grow, also across runs, so every committed copy is newer than its
// file: whatever a kill leaves, the next opening of the tree moves the newest
// committed copy of each file and the three files agree again, with no record
// and no list of trees. Only names made so are touched, and the file a copy
// stands for is built from the numbers in its name. The copies are plain files
// in the user folder, which no level of the viewer lists.
// Used under the statistics mutex only.

// A statistics file: its user folder and its date, whose parts say its kind.
struct StatTarget {
    std::string folder;                // the user folder, resolved
    int year = 0, month = 0, day = 0;  // 0 for the parts the kind has not
    std::string Path() const;          // year\total, year\month\total or year\month\day
};

class SaveRounds {
public:
    enum class Saved {
        Done,    // the file holds the new bytes
        Held,    // another program holds the file: its committed copy waits
        Absent,  // the volume of the log folder is not there: nothing written
        Failed,  // no copy could be made, or the move failed otherwise
    };
    struct File {
        StatTarget target;
        const std::string* bytes;
    };

    // The rounds of this process; a test puts a fresh object here to act as a new start.
    static SaveRounds& Current();

    // One round; what became of each file in `saved`. False when a copy came
    // out short: then nothing of the round is committed.
    bool Save(const std::vector<File>& files, std::vector<Saved>& saved);
    // Finishes what earlier runs left in a user folder (and, at the first call,
    // in the trees an earlier version listed in the data folder).
    void Finish(const std::string& userFolder);
    // The newest whole copy of a file: its committed copy still to be moved, else the file.
    std::string NewestCopy(const std::string& path);

    static std::string CopyPath(const StatTarget& target, uint64_t mark);
    static std::string CommitPath(const std::string& folder, uint64_t mark);

private:
    struct Copy {
        uint64_t mark;
        std::string folder;
        std::string path;
        std::string target;
    };

    uint64_t NextMark();
    // The newest committed copy of the file still to be moved, or end.
    std::vector<Copy>::iterator Newest(const std::string& target);
    // Moves the newest committed copy of the file, once its older copies are gone.
    Saved Settle(const std::string& target, int attempts);
    void SettleWaiting(int attempts);
    void DropSpentCommits();
    void FinishTree(const std::string& folder);
    void FinishEarlierFormat(const std::string& folder);
    void FinishListedTrees(const std::string& current);

    std::vector<Copy> pending_;  // committed, not moved yet
    std::vector<std::pair<std::string, uint64_t>> commits_;  // ".ok" files on disk
    uint64_t lastMark_ = 0;
    bool listedTreesDone_ = false;
    std::string finished_;  // the tree opened last
};

// Disk steps that rounds and their finishing may still take before they stop
// as a kill would stop them (a copy being written is cut in half); -1: no limit.
// For tests.
extern int roundStepsLeft;
