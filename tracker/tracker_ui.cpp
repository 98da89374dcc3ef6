#include "tracker_ui.h"

MessageBoxFn TrackerMessageBox = MessageBoxA;
MessageBoxWFn TrackerMessageBoxW = MessageBoxW;
