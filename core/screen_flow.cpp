// Which screen follows which button, close request or finished job.
#include "screen_flow.h"

#include <utility>

namespace gls {

namespace {

// The state on a new screen, which the window shows afresh.
FlowStep show(ScreenState state, Screen screen)
{
    state.screen = screen;
    return {.state = std::move(state), .newScreen = true};
}

FlowStep onPrimary(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return {.state = s, .ask = Ask::CheckFolder};
    case Screen::CloseApp:
        return {.state = s, .work = s.uninstalling ? Work::CloseThenUninstall : Work::CloseThenInstall};
    case Screen::EndApp: return {.state = s, .work = s.uninstalling ? Work::EndThenUninstall : Work::EndThenInstall};
    case Screen::Progress: return {.state = s};
    case Screen::Done: return {.state = s, .openApp = s.openAppAfter, .finish = ExitCode::Done};
    case Screen::Error: return {.state = s, .finish = ExitCode::Failed};
    case Screen::RemoveConfirm: return {.state = s, .ask = Ask::LookForApp};
    case Screen::Removed: return {.state = s, .finish = ExitCode::Done};
    case Screen::NotInstalled: return {.state = s, .finish = ExitCode::Failed};
    case Screen::OldWindows: return {.state = s, .finish = ExitCode::Cancelled};
    }
    return {.state = s};
}

FlowStep onSecondary(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome:
    case Screen::RemoveConfirm: return {.state = s, .finish = ExitCode::Cancelled};
    case Screen::CloseApp:
    case Screen::EndApp: return show(s, s.uninstalling ? Screen::RemoveConfirm : Screen::Welcome);
    case Screen::Error:
        if (!s.uninstalling) return show(s, Screen::Welcome);
        break;
    case Screen::Removed:
        if (s.liveScriptKept) return {.state = s, .work = Work::RetryLiveScript};
        break;
    default: break;
    }
    return {.state = s};
}

FlowStep onToggle(ScreenState s)
{
    switch (s.screen) {
    case Screen::Welcome: s.desktopShortcut = !s.desktopShortcut; break;
    case Screen::Done: s.openAppAfter = !s.openAppAfter; break;
    case Screen::RemoveConfirm: s.removeSettings = !s.removeSettings; break;
    default: break;
    }
    return {.state = std::move(s), .redraw = true, .announceCheckbox = true};
}

FlowStep onFolderChecked(ScreenState s, const Checked<std::wstring, Message>& folder)
{
    if (!folder.ok()) {
        // The user stays on the welcome screen, with the rule's message as its notice.
        s.folderProblem = folder.problem;
        return {.state = std::move(s), .redraw = true, .announceChanges = true};
    }
    s.installFolder = folder.value;
    s.folderProblem = {};
    return {.state = std::move(s), .ask = Ask::LookForApp};
}

FlowStep onAppLookedFor(ScreenState s, bool running)
{
    if (running) {
        s.appRunsAsAdmin = false;
        return show(std::move(s), Screen::CloseApp);
    }
    Work work = s.screen == Screen::RemoveConfirm ? Work::Uninstall : Work::Install;
    return {.state = std::move(s), .work = work};
}

void takeLiveFilesLeft(ScreenState& s, const LiveFilesLeft& left)
{
    s.liveScriptKept = left.any;
    s.liveProtectedFolder = left.protectedFolder;
}

FlowStep onWorkDone(ScreenState s, WorkOutcome outcome, Work work, const WorkReport& report)
{
    s.closingApp = false;
    if (outcome == WorkOutcome::NotClosed && isCloseJob(work)) return show(std::move(s), Screen::EndApp);
    if (outcome == WorkOutcome::RunsAsAdmin && isCloseJob(work)) {
        // Only the user can close it: the close screen says so, and asks again on Try again.
        s.appRunsAsAdmin = true;
        return show(std::move(s), Screen::CloseApp);
    }
    if (outcome == WorkOutcome::NotEnded && isEndJob(work)) {
        s.error = Message(Txt::ErrorCannotEndApp);
        return show(std::move(s), Screen::Error);
    }
    if (work == Work::RetryLiveScript) {
        takeLiveFilesLeft(s, report.retryLeft);
        return show(std::move(s), Screen::Removed);
    }
    if (s.uninstalling) {
        const UninstallReport& removed = report.uninstall;
        takeLiveFilesLeft(s, removed.liveLeft);
        s.settingsRemoved = removed.settingsRemoved;
        s.uninstallerLeft = removed.uninstallerLeft;
        if (removed.ok) return show(std::move(s), Screen::Removed);
        s.error = removed.message;
        return show(std::move(s), Screen::Error);
    }
    const InstallReport& installed = report.install;
    if (installed.ok) {
        s.startMenuShortcutMissing = installed.startMenuShortcutMissing;
        s.desktopShortcutMissing = installed.desktopShortcutMissing;
        return show(std::move(s), Screen::Done);
    }
    s.error = installed.message;
    return show(std::move(s), Screen::Error);
}

} // namespace

FlowStep nextStep(const ScreenState& state, const FlowEvent& event)
{
    switch (event.kind) {
    case FlowEvent::Kind::Primary: return onPrimary(state);
    case FlowEvent::Kind::Secondary: return onSecondary(state);
    case FlowEvent::Kind::Toggle: return onToggle(state);
    // Closing is ignored while a job runs: the window stays until the work is done.
    case FlowEvent::Kind::Close:
        if (state.screen == Screen::Progress) return {.state = state};
        return {.state = state, .finish = closeResult(state.screen)};
    case FlowEvent::Kind::FolderChecked: return onFolderChecked(state, event.folder);
    case FlowEvent::Kind::AppLookedFor: return onAppLookedFor(state, event.appRunning);
    case FlowEvent::Kind::WorkDone: return onWorkDone(state, event.outcome, event.work, event.report);
    }
    return {.state = state};
}

} // namespace gls
