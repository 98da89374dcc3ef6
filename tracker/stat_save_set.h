#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The save set: the statistics files of one save replaced together. Each new
// content is first whole in a temporary in the user folder, named with the
// round's mark; the round's record lists its moves. Temporaries and record stay
// until every target holds the new bytes, so no step destroys the only whole
// copy: what a round could not finish (a target held open, a tracker killed in
// the middle) is finished by a later round or at the next start.
class SaveSets {
public:
    // One file of a round.
    struct File {
        std::string folder;  // the user folder of its tree, resolved
        int dateParts;       // 3 day file, 2 month total, 1 year total
        std::string target;  // resolved
        const std::string* bytes;
    };
    // Pending: the target could not be created (another program holds it), and
    // the round's temporary and record keep its bytes for a later round or start.
    enum class Failure { None, NotCreated, Short, Pending };

    // The sets of this process; a test puts a fresh object here to act as a new start.
    static SaveSets& Current();

    // A path as Windows resolves it before any file access, without a closing "\";
    // empty when it cannot be resolved.
    static std::string Resolved(const std::string& path);
    static std::string TemporaryPath(const std::string& folder, int dateParts, uint64_t mark);
    static std::string RecordPath(const std::string& folder, uint64_t mark);
    // Where the user folders of the trees that may hold an unfinished set are
    // remembered between runs.
    static std::string TreesPath();

    // Replaces the files as one set; a failure per file in `failures`. False when
    // a temporary came out short: then nothing of this round is kept.
    bool Save(const std::vector<File>& files, std::vector<Failure>& failures);
    // Tries again, once, what earlier rounds left unfinished, except for the
    // targets a round is about to write anew. True when a rewrite came out short.
    bool FinishEarlier(const std::vector<std::string>& renewed);
    // Puts a log tree right when it is opened: its sets are finished (or dropped
    // when cut before their end mark) and stale temporaries removed. The first
    // call of a run does the same in every tree a run before remembered.
    void Recover(const std::string& userFolder);
    // The newest whole copy of a file: the temporary of a move still pending.
    std::string NewestCopy(const std::string& target) const;

private:
    struct Move {
        uint64_t mark;
        std::string folder;
        std::string record;  // empty when the round's record could not be written
        std::string temp;
        std::string target;
        bool superseded;  // the target has, or a recorded move will give it, newer bytes
        bool tempGone;    // moved, or deleted once the target was known whole
    };

    uint64_t NextMark();
    bool Finish(Move& move, const std::string* bytes, int attempts, Failure& failure);
    bool Settle(const std::vector<std::string>& renewed, int attempts);
    void Supersede(const std::string& target, uint64_t below);
    void ForgetFinished();
    void RecoverTree(const std::string& folder);
    void SweepTemporaries(const std::string& folder, const std::vector<std::string>& keepMarks) const;
    void RememberTrees();

    std::vector<Move> moves_;           // not finished yet, oldest first
    std::vector<std::string> records_;  // records on disk that are still to be deleted
    uint64_t lastMark_ = 0;
    bool rememberedRead_ = false;
    std::string current_;                // the tree opened last
    std::vector<std::string> remembered_;  // what the trees file holds
};
