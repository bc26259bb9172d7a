// What an install reports: its result record and the progress callback all jobs share.
#pragma once

#include <functional>
#include <string>

namespace gls {

struct InstallResult {
    bool ok = false;
    std::wstring message; // for the user, on failure
    std::wstring reason;  // a few lower-case words, on failure
    // Shortcuts the system did not let the install make; it succeeds without them.
    bool startMenuShortcutMissing = false;
    bool desktopShortcutMissing = false;
};

// Called synchronously on the job's thread with a fraction from 0 to 1 that never decreases,
// and a short line naming the current step.
using ProgressCallback = std::function<void(float, const std::wstring&)>;

} // namespace gls
