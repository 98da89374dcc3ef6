#pragma once
// Help contexts of "klr.chm" that the programs open. The help project's map
// (help/klr.hhp) is read from this file, so the file and the programs agree.
#define IDH_MAIN 1001
#define IDH_INDICATOR 1006
#define IDH_SETTINGS 1009
#define IDH_ADD_APPLICATION 1014
#define IDH_CUSTOM 1015
