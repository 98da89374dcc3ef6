// klr_stat: the statistics viewer.
#include <windows.h>

#include "application.h"
#include "data_folder.h"
#include "file_write.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // What a save cut short by a crash left beside the settings files.
    for (const char* name : {"kaltrow.ini", "interface.ini"})
        RemoveStaleTemporaries(DataFolder() + "\\" + name);
    Application application(CommandTail(GetCommandLineA()));
    return application.Run();
}
