#pragma once
#include <windows.h>

#include <functional>

// Waits that keep this thread's windows answering: a test thread owns
// windows that other processes send messages to, and must not block them.

// Dispatches this thread's messages for `ms`.
void PumpFor(DWORD ms);

// Dispatches messages until `done` is true (checked after each batch and at
// least every 10 ms) or `timeoutMs` has passed; returns `done`'s last value.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Dispatches messages until `object` is signalled; false on timeout.
bool WaitPumping(HANDLE object, DWORD timeoutMs);
