#pragma once
#include <string>

#include "applic.h"

class Interface;
class Period;
class Project;
class Statistics;

// The document controller: the current level and period, when to compute
// again, and whether the project has unsaved changes.
class KLR {
public:
    KLR(Statistics* level, Project* project, Interface* iface, Period* period, ApplicList* results)
        : level(level), project_(project), interface_(iface), period_(period), results_(results) {}

    // Computes when due, then merges and lays out the labels. A call made
    // while one runs (from inside its error box, whose message loop keeps
    // the timer and queued choices coming) does nothing.
    void Show();
    // A Show is running: commands that would compute leave everything as it is.
    bool Busy() const { return showing_; }
    void Open(const std::string& fileName);
    void New();
    // saved is set only when the file was written, so a failed save is
    // asked about again before the project is closed.
    bool Save(const std::string& fileName);

    Statistics* level;   // the current level; the commands replace it
    bool recompute = true;
    bool saved = true;

private:
    bool showing_ = false;
    Project* project_;
    Interface* interface_;
    Period* period_;
    ApplicList* results_;
};
