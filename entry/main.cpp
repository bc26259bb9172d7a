// The program's entry: hardens the library search, reads the command line, builds the environment,
// opens the log, rejects unknown switches and runs the install or the uninstall.
#include "core/args.h"
#include "core/path_join.h"
#include "core/product.h"
#include "core/version.h"
#include "install/existing_install.h"
#include "install/install_folder.h"
#include "install_run.h"
#include "platform/command_line.h"
#include "platform/env.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/message_box.h"
#include "platform/own_path.h"
#include "process/open_app.h"
#include "snapshot/ui_snapshots.h"
#include "uninstall_run.h"
#include "update_result.h"

#include <windows.h>

#include <string>

namespace gls {

namespace {

bool isUninstallerName(const std::wstring& exePath)
{
    size_t slash = exePath.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? exePath : exePath.substr(slash + 1);
    return ::CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()), kUninstallerExe, -1, TRUE) ==
           CSTR_EQUAL;
}

// The folder of the app to start again after an update run: a usable "/D=" folder, else the
// registered installation, else the default folder.
std::wstring appFolderAfterUpdate(const Env& env, const Args& args)
{
    ExistingInstall existing = findExistingInstall(env);
    std::wstring folder = existing.found ? existing.folder : env.defaultInstallDir;
    if (args.installDirGiven) {
        Checked<std::wstring> checked = checkInstallFolder(env, args.installDir);
        if (checked.ok()) folder = checked.value;
    }
    return folder;
}

// Starts the app again after an update run, whatever the run's result was.
void restartAppAfterUpdate(const Env& env, const Args& args)
{
    std::wstring folder = appFolderAfterUpdate(env, args);
    if (!folder.empty() && entryExists(joinPath(folder, kAppExe))) {
        openApp(env, folder);
    } else {
        logLine(L"no %ls in %ls to open", kAppExe, folder.c_str());
    }
}

ExitCode run()
{
    // A setup usually runs from Downloads, next to whatever else was downloaded: load libraries
    // from the system folder only, before anything else can load one.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    Args args = parseArgs();
    if (!args.uiSnapshot && isUninstallerName(ownExePath())) args.uninstall = true;

    Checked<Env> checkedEnv = buildEnv();
    if (!checkedEnv.ok()) {
        if (!args.silent) showMessage(checkedEnv.problem.c_str(), MB_ICONERROR);
        return ExitCode::StartedWrongly;
    }
    const Env& env = checkedEnv.value;

    if (args.uiSnapshot) {
        // The log stays closed in this mode; the failure text is for a debugger, not shown.
        std::string failures;
        return writeUiSnapshots(args.snapshotDir, failures) ? ExitCode::Done : ExitCode::Failed;
    }

    openLog(env, args.uninstall ? L"uninstall" : L"install");
    logLine(L"Glimmerline Setup %ls: %ls", kSetupVersion, ::GetCommandLineW());

    bool updateMode = args.silent && args.start && !args.uninstall;
    std::wstring reason;
    ExitCode result = ExitCode::Done;
    if (!args.unknownSwitch.empty()) {
        std::wstring text = L"Setup does not know the switch " + args.unknownSwitch + L".";
        logLine(L"%ls", text.c_str());
        if (!args.silent && !env.testMode) showMessage(text.c_str(), MB_ICONINFORMATION);
        reason = L"it was started wrongly";
        result = ExitCode::StartedWrongly;
    } else if (args.uninstall) {
        result = doUninstall(env, args);
    } else {
        result = doInstall(env, args, reason);
    }
    if (updateMode) {
        writeUpdateResult(env, result, result == ExitCode::Done ? std::wstring() : reason);
        restartAppAfterUpdate(env, args);
    }

    logLine(L"exit %d", exitNumber(result));
    return result;
}

} // namespace

} // namespace gls

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return gls::exitNumber(gls::run());
}
