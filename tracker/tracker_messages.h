#pragma once

// Window messages of the tracker's own.
constexpr unsigned WM_TRAY_NOTIFY = 0x0400 + 101;       // WM_USER + 101: the tray icon's notices
constexpr unsigned WM_RELOAD_SETTINGS = 0x0400 + 1090;  // WM_USER + 1090: sent by the viewer
