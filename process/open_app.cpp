// Starts the installed app, or in test mode leaves a marker naming it.
#include "open_app.h"

#include "core/path_join.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/start_outside_job.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

void writeMarker(const Env& env, const std::wstring& appPath)
{
    std::wstring marker = joinPath(env.testRoot, L"launched.txt");
    UniqueFile file(::CreateFileW(marker.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    std::string bytes = toUtf8(appPath) + "\n";
    DWORD written = 0;
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

AppLaunch appLaunchFor(const std::wstring& folder, bool elevated, const std::wstring& windowsFolder)
{
    std::wstring appPath = joinPath(folder, kAppExe);
    if (elevated) {
        // A bare "explorer.exe" would be looked for along a search path that starts in Downloads.
        if (windowsFolder.empty()) return {L"", L"", L"", true};
        std::wstring explorer = joinPath(windowsFolder, L"explorer.exe");
        return {explorer, L"\"" + explorer + L"\" \"" + appPath + L"\"", L"", true};
    }
    return {appPath, L"\"" + appPath + L"\"", folder, false};
}

bool runsElevated()
{
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return false;
    return elevation.TokenIsElevated != 0;
}

void openApp(const Env& env, const std::wstring& folder)
{
    std::wstring appPath = joinPath(folder, kAppExe);
    if (env.testMode) {
        writeMarker(env, appPath);
        logLine(L"(test) would open %ls", appPath.c_str());
        return;
    }

    wchar_t windows[MAX_PATH];
    UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    AppLaunch launch = appLaunchFor(folder, runsElevated(), std::wstring(windows, length < MAX_PATH ? length : 0));
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi = {};
    bool ok = !launch.program.empty() &&
              startOutsideJob(launch.program.c_str(), launch.commandLine.data(), false, 0,
                              launch.directory.empty() ? nullptr : launch.directory.c_str(), &si, &pi);
    if (ok) {
        UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    }
    logLine(L"open %ls%ls: %ls", appPath.c_str(), launch.throughExplorer ? L" (through Explorer)" : L"",
            ok ? L"ok" : L"failed");
}

} // namespace gls
