// What the buttons, the checkbox and a finished job do, screen by screen.
#include "window.h"

#include "core/path_rules.h"
#include "install/install_folder.h"
#include "platform/env.h"
#include "platform/log.h"
#include "process/open_app.h"
#include "process/running_app.h"

namespace gls {

void Window::goTo(Screen screen)
{
    state_.screen = screen;
    hover_ = Target::None;
    // A new screen starts without a focus, so that Enter keeps meaning its primary button.
    focus_ = Target::None;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    announceScreen();
}

void Window::finish(ExitCode result)
{
    result_ = result;
    ::DestroyWindow(hwnd_);
}

void Window::onPrimary()
{
    switch (state_.screen) {
    case Screen::Welcome: {
        FolderCheck folder = checkInstallFolder(env_, state_.installFolder);
        if (!folder.ok()) {
            state_.folderProblem = folder.problem;
            ::InvalidateRect(hwnd_, nullptr, FALSE);
            announceChanges();
            return;
        }
        state_.installFolder = folder.value;
        state_.folderProblem = {};
        if (findRunningApp(env_, folder.value).running()) {
            state_.appRunsAsAdmin = false;
            goTo(Screen::CloseApp);
        } else {
            runWork(Work::Install);
        }
        return;
    }
    case Screen::CloseApp: runWork(state_.uninstalling ? Work::CloseThenUninstall : Work::CloseThenInstall); return;
    case Screen::EndApp: runWork(state_.uninstalling ? Work::EndThenUninstall : Work::EndThenInstall); return;
    case Screen::Progress: return;
    case Screen::Done:
        if (state_.openAppAfter) openApp(env_, state_.installFolder);
        finish(ExitCode::Done);
        return;
    case Screen::Error: finish(ExitCode::Failed); return;
    case Screen::RemoveConfirm:
        if (findRunningApp(env_, state_.installFolder).running()) {
            state_.appRunsAsAdmin = false;
            goTo(Screen::CloseApp);
        } else {
            runWork(Work::Uninstall);
        }
        return;
    case Screen::Removed: finish(ExitCode::Done); return;
    case Screen::NotInstalled: finish(ExitCode::Failed); return;
    case Screen::OldWindows: finish(ExitCode::Cancelled); return;
    }
}

void Window::onSecondary()
{
    switch (state_.screen) {
    case Screen::Welcome:
    case Screen::RemoveConfirm: finish(ExitCode::Cancelled); return;
    case Screen::CloseApp:
    case Screen::EndApp: goTo(state_.uninstalling ? Screen::RemoveConfirm : Screen::Welcome); return;
    case Screen::Error:
        if (!state_.uninstalling) goTo(Screen::Welcome);
        return;
    case Screen::Removed:
        if (state_.liveScriptKept) runWork(Work::RetryLiveScript);
        return;
    default: return;
    }
}

void Window::toggleCheckbox()
{
    switch (state_.screen) {
    case Screen::Welcome: state_.desktopShortcut = !state_.desktopShortcut; break;
    case Screen::Done: state_.openAppAfter = !state_.openAppAfter; break;
    case Screen::RemoveConfirm: state_.removeSettings = !state_.removeSettings; break;
    default: break;
    }
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    raise(EVENT_OBJECT_STATECHANGE, childOf(ElementKind::Control, Target::Checkbox));
}

void Window::showLiveFilesLeft(const std::vector<LeftFile>& left)
{
    state_.liveScriptKept = !left.empty();
    state_.liveProtectedFolder.clear();
    for (const LeftFile& f : left) {
        if (f.why == Refusal::Protected) {
            state_.liveProtectedFolder = parentPath(f.path);
            break;
        }
    }
}

void Window::onWorkDone(WorkOutcome outcome, Work work)
{
    // The done message and the timer both come here; whichever is first joins the worker.
    if (!worker_.joinable()) return;
    worker_.join();
    ::KillTimer(hwnd_, kWorkDoneTimer);
    state_.closingApp = false;
    bool closeJob = work == Work::CloseThenInstall || work == Work::CloseThenUninstall;
    bool endJob = work == Work::EndThenInstall || work == Work::EndThenUninstall;
    if (outcome == WorkOutcome::NotClosed && closeJob) {
        goTo(Screen::EndApp);
    } else if (outcome == WorkOutcome::RunsAsAdmin && closeJob) {
        // Only the user can close it: the close screen says so, and asks again on Try again.
        state_.appRunsAsAdmin = true;
        goTo(Screen::CloseApp);
    } else if (outcome == WorkOutcome::NotEnded && endJob) {
        state_.error = Txt::ErrorCannotEndApp;
        goTo(Screen::Error);
    } else if (work == Work::RetryLiveScript) {
        showLiveFilesLeft(retryKept_);
        goTo(Screen::Removed);
    } else if (state_.uninstalling) {
        showLiveFilesLeft(uninstallResult_.liveFilesLeft);
        state_.settingsRemoved = uninstallResult_.settingsRemoved;
        state_.uninstallerLeft = uninstallResult_.uninstallerLeft;
        if (uninstallResult_.ok) {
            goTo(Screen::Removed);
        } else {
            state_.error = uninstallResult_.message;
            goTo(Screen::Error);
        }
    } else if (installResult_.ok) {
        state_.startMenuShortcutMissing = installResult_.startMenuShortcutMissing;
        state_.desktopShortcutMissing = installResult_.desktopShortcutMissing;
        goTo(Screen::Done);
    } else {
        state_.error = installResult_.message;
        goTo(Screen::Error);
    }
}

} // namespace gls
