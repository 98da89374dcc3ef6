#pragma once
#include <windows.h>

#include <string>

#include "applic.h"
#include "log_parser.h"

class Interface;

// A project file: one line per watched application,
//   "path" TAB "name" CR LF
// with no line for the closing row.
class Project {
public:
    Project(ApplicList* rows, Interface* iface) : rows_(rows), interface_(iface) {}

    // False when the file could not be written.
    bool Save(const std::string& fileName);
    // Replaces the rows by the file's; an unreadable file gives an empty project.
    void Load(const std::string& fileName);
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    ApplicList* rows_;
    Interface* interface_;
};

class ProjParser : public Parser {
public:
    using Parser::Parser;
    // One quoted field ending at TAB, or at LF for the last one. Whatever
    // stands before the opening quote is skipped; the empty text when the
    // file ends first. Fields are cut to 10023 characters.
    std::string ReadField();
    std::string ReadLastField();

private:
    std::string ReadQuoted(char end);
};

// The shell's large icon of a file (null when it has none). The icon is the
// caller's: FreeShellIcon destroys it once it is no longer needed (image
// lists keep copies of their own). A seam lets tests load projects without
// the shell, Load frees what it hands out too; null restores the shell's.
using ShellIconFunction = HICON (*)(const std::string& path);
HICON GetShellIcon(const std::string& path);
void FreeShellIcon(HICON icon);
void SetShellIconFunction(ShellIconFunction function);
