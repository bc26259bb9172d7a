// Starts the installed app through the shell, or in test mode leaves a marker naming it.
#include "open_app.h"

#include "core/path_join.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <shellapi.h>

namespace gls {

static_assert(sizeof(SHELLEXECUTEINFOW) == 112, "the shell expects the 64-bit layout");

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

AppLaunch appLaunchFor(const std::wstring& folder, bool elevated)
{
    std::wstring appPath = joinPath(folder, kAppExe);
    if (elevated) return {L"explorer.exe", L"\"" + appPath + L"\"", L"", true};
    return {appPath, L"", folder, false};
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

    AppLaunch launch = appLaunchFor(folder, runsElevated());
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC;
    info.lpFile = launch.file.c_str();
    info.lpParameters = launch.parameters.empty() ? nullptr : launch.parameters.c_str();
    info.lpDirectory = launch.directory.empty() ? nullptr : launch.directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    bool ok = ::ShellExecuteExW(&info) != FALSE;
    logLine(L"open %ls%ls: %ls", appPath.c_str(), launch.throughExplorer ? L" (through Explorer)" : L"",
            ok ? L"ok" : L"failed");
}

} // namespace gls
