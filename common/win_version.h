#pragma once

// Version tests of both programs; the version record is read afresh each call.
bool IsPlatformNT();   // platform identifier 2: the NT family
bool IsWin2000Plus();  // major version above 4
