#pragma once
#include <windows.h>

#include <string>

// A hard kill of a program under Wine: kill -9 of its Unix process, which ends
// it the way a crash ends a program on Windows. A small shell on the Unix side
// waits for a trigger file, so the kill comes within a few milliseconds of Fire.
class HardKiller {
public:
    HardKiller();
    ~HardKiller();
    HardKiller(const HardKiller&) = delete;
    HardKiller& operator=(const HardKiller&) = delete;

    // Finds the Unix process whose command line names `exeName` and whose
    // WINEPREFIX is this process's, and readies the kill. False when none is found.
    bool Arm(const std::string& exeName);
    // Kills the armed process now.
    void Fire();

private:
    std::string trigger_;  // Windows path of the trigger file
};
