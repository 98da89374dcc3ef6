#include "common_controls.h"

#include "process_entries.h"

namespace {

typedef void(WINAPI* InitCommonControlsFn)();
typedef BOOL(WINAPI* TrackMouseEventFn)(TRACKMOUSEEVENT*);

HMODULE controlsLibrary = nullptr;
TrackMouseEventFn pTrackMouseEvent = nullptr;

} // namespace

bool LoadCommonControls()
{
    if (controlsLibrary)
        return true;
    controlsLibrary = LoadLibraryA("comctl32.dll");
    if (!controlsLibrary)
        return false;
    if (auto init = Bind<InitCommonControlsFn>(controlsLibrary, "InitCommonControls"))
        init();
    pTrackMouseEvent = Bind<TrackMouseEventFn>(controlsLibrary, "_TrackMouseEvent");
    return true;
}

BOOL TrackMouseEventOfControls(TRACKMOUSEEVENT* track)
{
    return pTrackMouseEvent ? pTrackMouseEvent(track) : FALSE;
}
