// The window's side of the screen flow: what the buttons, the checkbox, a close request and a
// finished job lead to, carried out.
#include "window.h"

#include "core/path_rules.h"
#include "install/install_folder.h"
#include "platform/env.h"
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

void Window::onPrimary() { act({.kind = FlowEvent::Kind::Primary}); }

void Window::onSecondary() { act({.kind = FlowEvent::Kind::Secondary}); }

void Window::toggleCheckbox() { act({.kind = FlowEvent::Kind::Toggle}); }

namespace {

// The removed screen's account of what stayed in Live's libraries: held, or protected.
LiveFilesLeft liveFilesLeft(const std::vector<LeftFile>& left)
{
    LiveFilesLeft facts;
    facts.any = !left.empty();
    for (const LeftFile& f : left) {
        if (f.why == Refusal::Protected) {
            facts.protectedFolder = parentPath(f.path);
            break;
        }
    }
    return facts;
}

} // namespace

void Window::onWorkDone(WorkOutcome outcome, Work work)
{
    // The done message and the timer both come here; whichever is first joins the worker.
    if (!worker_.joinable()) return;
    worker_.join();
    ::KillTimer(hwnd_, kWorkDoneTimer);
    WorkReport report;
    report.install = {installResult_.ok, installResult_.message, installResult_.startMenuShortcutMissing,
                      installResult_.desktopShortcutMissing};
    report.uninstall = {uninstallResult_.ok, uninstallResult_.message, liveFilesLeft(uninstallResult_.liveFilesLeft),
                        uninstallResult_.settingsRemoved, uninstallResult_.uninstallerLeft};
    report.retryLeft = liveFilesLeft(retryKept_);
    act({.kind = FlowEvent::Kind::WorkDone, .outcome = outcome, .work = work, .report = std::move(report)});
}

void Window::act(const FlowEvent& event)
{
    FlowStep step = nextStep(state_, event);
    state_ = std::move(step.state);
    if (step.openApp) openApp(env_, state_.installFolder);
    if (step.finish) {
        finish(*step.finish);
        return;
    }
    if (step.newScreen) goTo(state_.screen);
    if (step.redraw) ::InvalidateRect(hwnd_, nullptr, FALSE);
    if (step.announceChanges) announceChanges();
    if (step.announceCheckbox) raise(EVENT_OBJECT_STATECHANGE, childOf(ElementKind::Control, Target::Checkbox));
    if (step.work) runWork(*step.work);
    switch (step.ask) {
    case Ask::Nothing: return;
    case Ask::CheckFolder:
        act({.kind = FlowEvent::Kind::FolderChecked, .folder = checkInstallFolder(env_, state_.installFolder)});
        return;
    case Ask::LookForApp:
        act({.kind = FlowEvent::Kind::AppLookedFor,
             .appRunning = findRunningApp(env_, state_.installFolder).running()});
        return;
    }
}

} // namespace gls
