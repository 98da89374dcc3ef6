#pragma once
#include <optional>

#include "records.h"

// The lists' lock as the UI thread takes it. A message box shown while the UI
// thread holds the lock runs a message loop that can bring us back here; the
// thread already owns the lists then, so taking the lock again is skipped.
class UiListsLock {
public:
    UiListsLock()
    {
        if (!ListsLockHeldByThisThread())
            guard_.emplace();
    }

private:
    std::optional<ListsGuard> guard_;
};
