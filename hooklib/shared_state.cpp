#include "shared_state.h"

// An initialised variable in a section marked shared: one copy for all
// processes that map this image.
SharedState g_shared __attribute__((section(".shared"), shared)) = {};

HINSTANCE g_module = nullptr;
