// klr_stat: the statistics viewer.
#include <windows.h>

#include "application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application application(CommandTail(GetCommandLineA()));
    return application.Run();
}
