// The parsed command line and the switch rules that fill it, free of the platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gls {

struct Args {
    bool silent = false;
    bool uninstall = false;
    bool removeSettings = false;
    bool uiSnapshot = false;
    bool uiAt = false;
    bool start = false;
    bool installDirGiven = false;
    std::wstring installDir;
    std::int32_t waitPid = 0;
    bool fromGiven = false;
    std::wstring from;
    std::uint64_t parentHandle = 0;
    std::uint64_t resultHandle = 0; // the pipe a quiet uninstaller's copy writes its exit code to
    std::wstring snapshotDir;
    std::int32_t uiAtX = 0;
    std::int32_t uiAtY = 0;
    bool languageGiven = false;
    std::wstring language; // "/LANG=": a language tag, as typed
    std::wstring unknownSwitch;
};

// Takes "/D=" and its folder off the end of a whole command line. The folder runs to the end of
// the line, so it may hold blanks without quotes; the line is cut where the switch begins.
void takeInstallDir(std::wstring& commandLine, Args& args);

// Applies the switch rules to the elements of a split command line; the first element is the
// program path and is skipped.
void applySwitches(const std::vector<std::wstring>& elements, Args& args);

} // namespace gls
