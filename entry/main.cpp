// The program's entry: hardens the library search, reads the command line, builds the environment,
// opens the log, rejects unknown switches and runs the install or the uninstall.
#include "core/args.h"
#include "core/languages.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "core/texts.h"
#include "core/version.h"
#include "install/folder_choice.h"
#include "install_run.h"
#include "installation/app_in_folder.h"
#include "platform/command_line.h"
#include "platform/env.h"
#include "platform/file_waits.h"
#include "platform/log.h"
#include "platform/message_box.h"
#include "platform/own_path.h"
#include "platform/ui_languages.h"
#include "process/open_app.h"
#include "snapshot/ui_snapshots.h"
#include "uninstall/handoff.h"
#include "uninstall/stale_copies.h"
#include "uninstall_run.h"
#include "update_result.h"

#include <windows.h>

#include <string>

namespace gls {

namespace {

// The language the setup speaks: the one "/LANG=" names, when the setup speaks it; else the user's
// display language, or for the snapshot tool English. askedForNone tells that "/LANG=" named a
// language the setup does not speak.
std::string chooseLanguage(const Args& args, bool& askedForNone)
{
    askedForNone = false;
    if (args.languageGiven) {
        if (std::optional<std::string> spoken = spokenLanguageFor(args.language)) return *spoken;
        askedForNone = true;
    }
    return args.uiSnapshot && !args.languageGiven ? std::string("en") : languageForUser(userUiLanguages());
}

// Starts the app again after an update run, whatever the run's result was, from the folder the
// install run started from.
void restartAppAfterUpdate(const Env& env, const Args& args)
{
    std::wstring folder = chooseInstallFolder(env, args).folder;
    if (!folder.empty() && appProgramInFolder(folder)) {
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
    bool askedForNone = false;
    std::string language = chooseLanguage(args, askedForNone);
    speak(language);

    Checked<Env> checkedEnv = buildEnv();
    if (!checkedEnv.ok()) {
        if (!args.silent) showMessage(checkedEnv.problem.c_str(), MB_ICONERROR);
        return ExitCode::StartedWrongly;
    }
    const Env& env = checkedEnv.value;
    if (env.fileWaitMs != 0) setFileWaitBudget(static_cast<unsigned long>(env.fileWaitMs));

    if (args.uiSnapshot) {
        // The log stays closed in this mode; the failure text is for a debugger, not shown.
        std::string failures;
        return writeUiSnapshots(args.snapshotDir, failures) ? ExitCode::Done : ExitCode::Failed;
    }

    openLog(env, args.uninstall ? L"uninstall" : L"install");
    logLine(L"Glimmerline Setup %ls: %ls", kSetupVersion, ::GetCommandLineW());
    if (askedForNone) logLine(L"/LANG=%ls: not a language of the setup", args.language.c_str());
    logLine(L"language: %hs", language.c_str());
    removeStaleUninstallCopies(env);

    bool updateMode = args.silent && args.start && !args.uninstall;
    std::wstring reason;
    ExitCode result = ExitCode::Done;
    if (!args.unknownSwitch.empty()) {
        tellUser(env, args.silent, Message(Txt::BoxUnknownSwitch, {{L"switch", args.unknownSwitch}}));
        reason = L"it was started wrongly";
        result = ExitCode::StartedWrongly;
    } else if (args.uninstall) {
        result = doUninstall(env, args);
    } else {
        result = doInstall(env, args, reason);
    }
    // A run that found another setup at work leaves both to that one: the app it would start could
    // hold the very files the other must replace, and its result would tell of an update that
    // is still going.
    if (updateMode && result != ExitCode::AnotherSetupRuns) {
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
    // The last resort: a run that an exception ends would exit with the runtime's 3, which reads
    // as "started wrongly" though half the work may be done, and leave the log without its end.
    try {
        return gls::exitNumber(gls::run());
    } catch (...) {
        gls::logCaughtException();
    }
    gls::logLine(L"exit %d", gls::exitNumber(gls::ExitCode::Failed));
    return gls::exitNumber(gls::ExitCode::Failed);
}
