// The uninstall run.
#include "uninstall_run.h"

#include "core/args.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "install/install_folder.h"
#include "install_run.h"
#include "installation/app_in_folder.h"
#include "installation/apps_entry.h"
#include "installation/existing_install.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_name_order.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/message_box.h"
#include "platform/own_path.h"
#include "platform/single_instance.h"
#include "platform/start_outside_job.h"
#include "platform/system_error_text.h"
#include "platform/unique_handle.h"
#include "process/running_app.h"
#include "ui/setup_window.h"
#include "uninstall/handoff.h"
#include "uninstall/uninstall_job.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace gls {

namespace {

bool anythingToRemove(const Env& env, const std::wstring& folder)
{
    if (folder.empty()) return false;
    return appInFolder(folder) || readAppsEntry(env, kInstallLocation).has_value();
}

// Removes the app from this process. With inPlaceOfCopy this process is the installed
// "Uninstall.exe" itself, whose copy could not be made or started.
ExitCode removeHere(const Env& env, const Args& args, const std::wstring& folder, bool inPlaceOfCopy = false)
{
    // A copy that reports its result does its work while its starter still waits for it, and
    // waits for the starter only before it deletes the starter's file.
    UniqueKernelHandle pipe = resultPipeOf(args);
    bool reporting = static_cast<bool>(pipe);
    RunningUninstaller running = reporting       ? RunningUninstaller::Starter
                                 : inPlaceOfCopy ? RunningUninstaller::ThisProcess
                                                 : RunningUninstaller::None;
    if (args.parentHandle != 0 && !reporting) waitForParent(args.parentHandle);
    ::SetCurrentDirectoryW(env.tempDir.c_str());

    UniqueKernelHandle mutex = takeSetupMutex(env);
    if (!mutex) {
        ExitCode result = reportAlreadyRunning(env, args);
        reportResult(pipe, result);
        scheduleSelfDelete(env);
        return result;
    }
    if (env.startDelayMs != 0) ::Sleep(static_cast<DWORD>(env.startDelayMs));

    bool something = anythingToRemove(env, folder);
    ExitCode result = ExitCode::Done;
    UninstallResult removed;
    if (args.silent) {
        if (!something) {
            logLine(L"nothing to remove");
            result = ExitCode::Failed;
        } else if (findRunningApp(env, folder).running() &&
                   askAppToClose(env, folder, appCloseBudgetMs(env, false)) != CloseOutcome::Closed) {
            result = ExitCode::AppDidNotClose;
        } else {
            removed = removeInstallation(
                env, folder, args.removeSettings, [](float, Txt) {}, running);
            result = removed.ok ? ExitCode::Done : ExitCode::Failed;
        }
    } else {
        WindowParams params;
        params.env = &env;
        params.uninstalling = true;
        params.installFolder = folder;
        params.nothingInstalled = !something;
        params.runningUninstaller = running;
        params.placeAtPoint = args.uiAt;
        params.pointX = args.uiAtX;
        params.pointY = args.uiAtY;
        result = runSetupWindow(params);
        logLine(L"window closed: %d", exitNumber(result));
    }
    if (reporting) {
        reportResult(pipe, result);
        // The starter exits once it has the result; its file can go after that. The mutex is
        // still held, so that no install can put a new uninstaller there in the meantime.
        if (args.parentHandle != 0) waitForParent(args.parentHandle);
        removeLeftUninstaller(env, folder, removed);
    }
    releaseSetupMutex(mutex);
    scheduleSelfDelete(env);
    // Moved out of the install folder under a copy's name, this process's own file goes as a
    // copy's does, once this process has ended.
    std::wstring moved = joinPath(env.tempDir, uninstallCopyName(::GetCurrentProcessId()));
    if (inPlaceOfCopy && entryExists(moved)) scheduleDeletion(env, moved);
    return result;
}

// The folder of an uninstaller named "Uninstall.exe", when it is the installation to remove: it
// holds the app, or it is the registered folder. Elsewhere (the setup saved under that name in
// Downloads) the folder is the user's, and the registered installation is the one to remove.
// Spelt as the entry spells it when that is the same folder, so that the shortcuts, which point to
// that spelling, are recognised as the installation's.
std::wstring ownInstallFolder(const Env& env, const std::wstring& registered)
{
    std::wstring self = ownExePath();
    if (!isUninstallerName(self)) return {};
    std::wstring own = parentPath(self);
    if (env.testMode && !isInsideFolder(own, env.testRoot)) return {};
    if (!registered.empty() && sameFolderOnDisk(registered, own)) return registered;
    return appProgramInFolder(own) ? own : std::wstring();
}

// The program runs from inside the folder, in any spelling of either: an 8.3 short name, a link,
// another letter case. Decided by the identity of each folder the program file lies in.
bool runsFromInside(const std::wstring& program, const std::wstring& folder)
{
    if (isStrictlyInside(program, folder)) return true;
    for (std::wstring at = parentPath(program); !at.empty(); at = parentPath(at)) {
        if (sameFolderOnDisk(at, folder)) return true;
        if (parentPath(at) == at) break;
    }
    return false;
}

} // namespace

ExitCode doUninstall(const Env& env, const Args& args)
{
    std::wstring folder;
    if (args.fromGiven) {
        // Only a whole path: joined to an empty or relative one, the app's names would address
        // the current directory.
        if (!isFolderBelowRoot(args.from)) {
            logLine(L"/from=%ls: not a whole folder path", args.from.c_str());
            return ExitCode::StartedWrongly;
        }
        folder = args.from;
    } else if (args.installDirGiven) {
        FolderCheck checked = checkInstallFolder(env, args.installDir);
        if (!checked.ok()) {
            logLine(L"/D=%ls: %ls", args.installDir.c_str(), sayInEnglish(checked.problem).c_str());
            return ExitCode::StartedWrongly;
        }
        folder = checked.value;
    } else {
        folder = registeredInstallFolder(env);
        std::wstring own = ownInstallFolder(env, folder);
        if (!own.empty()) folder = own;
    }

    bool relaunch = !args.fromGiven && !folder.empty() && runsFromInside(ownExePath(), folder);
    if (relaunch) {
        if (anotherSetupRuns(env)) return reportAlreadyRunning(env, args);
        if (std::optional<ExitCode> started = relaunchFromTemp(env, args, folder)) return *started;
        // A policy may forbid programs in the temporary folder, or the folder may be full or
        // read-only: the app is removed all the same, by this process.
        logLine(L"removing Glimmerline without a copy; %ls stays in use until this uninstaller ends",
                ownExePath().c_str());
        return removeHere(env, args, folder, true);
    }
    return removeHere(env, args, folder);
}

} // namespace gls
