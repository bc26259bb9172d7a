// The environment record: every folder, key, class name and mutex name the setup works with.
#pragma once

#include "core/checked.h"

#include <cstdint>
#include <string>
#include <vector>

#include <guiddef.h>

namespace gls {

struct Env {
    bool testMode = false;
    std::wstring testRoot;
    std::wstring uninstallKey;
    std::wstring startMenuPrograms;
    std::wstring desktopDir;
    // The profile, Documents, Desktop, Downloads, Music, Pictures and Videos: no install folder
    // may be one of them or hold one.
    std::vector<std::wstring> userFolders;
    std::wstring defaultInstallDir;
    std::wstring settingsDir;
    std::wstring abletonDir;
    std::wstring tempDir;
    std::wstring appWindowClass;
    std::wstring setupWindowClass;
    std::wstring mutexName;
    bool noMediaFoundation = false;
    std::int32_t startDelayMs = 0;
    std::int32_t closeTimeoutMs = 0;
    std::int32_t fileWaitMs = 0; // test mode: the budget for a file another program holds, when not 0
    // Test mode only: the app acts as one started as administrator would towards this setup, whose
    // close requests and attempts to open its processes to end them the system refuses.
    bool appActsAsAdmin = false;
};

// Normal mode, or test mode when GLIMMERLINE_SETUP_TEST names a folder. Built once, at start;
// refused when the variable names no existing absolute folder.
Checked<Env> buildEnv();

// An environment variable's value; empty when unset, empty, or 2048 characters or longer.
std::wstring readEnvVar(const wchar_t* name);

// A known folder's path without checking that it exists; empty on failure.
std::wstring knownFolder(const GUID& id);

} // namespace gls
