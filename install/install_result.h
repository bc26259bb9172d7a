// What an install reports.
#pragma once

#include "installation/progress.h"

#include <string>

namespace gls {

struct InstallResult {
    bool ok = false;
    Message message;     // for the user, on failure
    std::wstring reason; // a few lower-case words, on failure
    // Shortcuts the system did not let the install make; it succeeds without them.
    bool startMenuShortcutMissing = false;
    bool desktopShortcutMissing = false;
};

} // namespace gls
