// The install run.
#include "install_run.h"

#include "core/args.h"
#include "core/windows_version.h"
#include "install/folder_choice.h"
#include "install/install_folder.h"
#include "install/install_job.h"
#include "installation/app_in_folder.h"
#include "payload/payload.h"
#include "payload/payload_check.h"
#include "platform/env.h"
#include "platform/file_identity.h"
#include "platform/log.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "platform/system_checks.h"
#include "platform/unique_handle.h"
#include "process/running_app.h"
#include "ui/setup_window.h"

#include <windows.h>

namespace gls {

namespace {

ExitCode installSilently(const Env& env, const Args& args, const Payload& payload, const std::wstring& folder,
                         bool keepDesktopShortcut, std::wstring& reason)
{
    std::uint32_t build = windowsBuild();
    if (isWindowsTooOld(build)) {
        logLine(L"Windows build %lu: Glimmerline needs %lu or newer", static_cast<unsigned long>(build),
                static_cast<unsigned long>(kOldestWindowsBuild));
        reason = L"this Windows is too old";
        return ExitCode::Failed;
    }
    std::uint32_t budget = appCloseBudgetMs(env, args.start);
    ULONGLONG start = ::GetTickCount64();
    if (findRunningApp(env, folder).running()) {
        CloseOutcome closing = askAppToClose(env, folder, budget);
        if (closing != CloseOutcome::Closed) {
            reason = closing == CloseOutcome::RefusedForRights ? L"Glimmerline runs as administrator"
                                                               : L"Glimmerline did not close";
            return ExitCode::AppDidNotClose;
        }
    }
    if (args.start && args.waitPid != 0) {
        ULONGLONG spent = ::GetTickCount64() - start;
        std::uint32_t left = spent < budget ? static_cast<std::uint32_t>(budget - spent) : 1000;
        if (!waitForQuit(static_cast<std::uint32_t>(args.waitPid), left)) {
            reason = L"Glimmerline did not close";
            return ExitCode::AppDidNotClose;
        }
    }
    InstallResult result = installApp(env, payload, folder, keepDesktopShortcut, [](float, Txt) {});
    if (!result.ok) {
        logLine(L"failed: %ls", sayInEnglish(result.message).c_str());
        reason = result.reason.empty() ? L"it did not go in" : result.reason;
        return ExitCode::Failed;
    }
    return ExitCode::Done;
}

} // namespace

ExitCode reportAlreadyRunning(const Env& env, const Args& args)
{
    logLine(L"another Glimmerline setup is running");
    if (args.silent) return ExitCode::AnotherSetupRuns;
    HWND other = ::FindWindowW(env.setupWindowClass.c_str(), nullptr);
    if (other) {
        if (!env.testMode) {
            ::ShowWindow(other, SW_RESTORE);
            ::SetForegroundWindow(other);
        }
        return ExitCode::AnotherSetupRuns;
    }
    tellUser(env, false, Txt::BoxAlreadyRunning);
    return ExitCode::AnotherSetupRuns;
}

ExitCode doInstall(const Env& env, const Args& args, std::wstring& reason)
{
    Checked<Payload> sound = loadPayload();
    if (sound.ok()) sound = checkPayload(std::move(sound.value));
    if (!sound.ok()) {
        tellUser(env, args.silent, Txt::ErrorSetupDamaged);
        logLine(L"payload: %ls", sound.problem.c_str());
        reason = L"the download was damaged";
        return ExitCode::SetupDamaged;
    }
    const Payload& payload = sound.value;

    // Held until the process ends, the update result and the app's restart included: the owner is
    // static, so the handle is closed only as the process exits.
    static UniqueKernelHandle mutex;
    mutex = takeSetupMutex(env);
    if (!mutex) {
        reason = L"another setup was running";
        return reportAlreadyRunning(env, args);
    }
    if (env.startDelayMs != 0) ::Sleep(static_cast<DWORD>(env.startDelayMs));

    FolderChoice choice = chooseInstallFolder(env, args);
    if (!choice.givenProblem.empty() && args.silent) {
        logLine(L"/D=%ls: %ls", args.installDir.c_str(), sayInEnglish(choice.givenProblem).c_str());
        reason = L"its folder can't be used";
        return ExitCode::StartedWrongly;
    }
    if (choice.folder.empty() && args.silent) {
        logLine(L"no folder to install into is known: give one with /D=");
        reason = L"its folder can't be used";
        return ExitCode::StartedWrongly;
    }
    const ExistingInstall& existing = choice.existing;
    const std::wstring& folder = choice.folder;
    bool present = !folder.empty() && appInFolder(folder);
    bool sameFolder = existing.found && sameFolderOnDisk(existing.folder, folder);
    bool keepDesktopShortcut = sameFolder && existing.hasDesktopShortcut;

    if (args.silent) return installSilently(env, args, payload, folder, keepDesktopShortcut, reason);

    WindowParams params;
    params.env = &env;
    params.payload = &payload;
    params.uninstalling = false;
    params.installFolder = folder;
    // Without a folder the welcome screen asks for one, and Install refuses until there is one.
    if (folder.empty()) params.folderProblem = checkInstallFolder(env, folder).problem;
    params.desktopShortcut = keepDesktopShortcut;
    params.appInFolder = present;
    params.installedVersion = sameFolder ? existing.version : std::wstring();
    params.nothingInstalled = false;
    params.placeAtPoint = args.uiAt;
    params.pointX = args.uiAtX;
    params.pointY = args.uiAtY;
    ExitCode result = runSetupWindow(params);
    logLine(L"window closed: %d", exitNumber(result));
    return result;
}

} // namespace gls
