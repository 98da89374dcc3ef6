#include "project.h"

#include "file_write.h"
#include "viewer_interface.h"

namespace {

ShellIconFunction& IconFunction()
{
    static ShellIconFunction function = nullptr;
    return function;
}

HICON ProjectIcon(const std::string& path)
{
    return IconFunction() ? IconFunction()(path) : GetShellIcon(path);
}

} // namespace

bool Project::Save(const std::string& fileName)
{
    fileName_ = fileName;
    std::string text;
    for (size_t i = 0; i + 1 < rows_->size(); ++i) {
        const Applic& row = (*rows_)[i];
        text += '"';
        text += row.path;
        text += "\"\t\"";
        text += row.name;
        text += "\"\r\n";
    }
    // A save cut short by a crash left its temporary beside the file.
    RemoveStaleTemporaries(fileName);
    return WriteWholeFile(fileName, text);
}

void Project::Load(const std::string& fileName)
{
    rows_->clear();
    fileName_ = fileName;
    ProjParser parser(fileName);
    if (!parser.IsOpen())
        return;
    while (!parser.AtEnd()) {
        std::string path = parser.ReadField();
        std::string name = parser.ReadLastField();
        if (path.empty())
            continue;
        if (!rows_->empty())
            rows_->pop_back();
        Applic row(path, name);
        HICON icon = ProjectIcon(path);
        row.icon = icon;
        rows_->push_back(row);
        rows_->push_back(Applic("Total", ""));
        if (interface_)
            interface_->AddIconRow();
        // The image list has its copy now; the row keeps no handle that is gone.
        (*rows_)[rows_->size() - 2].icon = nullptr;
        FreeShellIcon(icon);
    }
}

std::string ProjParser::ReadQuoted(char end)
{
    std::string field;
    if (!in_.ReadUntil('"', field, 0))
        return std::string();
    in_.ReadUntil(end, field, kFieldChars);
    if (!field.empty())
        field.pop_back();
    return field;
}

std::string ProjParser::ReadField()
{
    return ReadQuoted('\t');
}

std::string ProjParser::ReadLastField()
{
    return ReadQuoted('\n');
}

void SetShellIconFunction(ShellIconFunction function)
{
    IconFunction() = function;
}
