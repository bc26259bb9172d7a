// Which screen follows which button, close request or finished job, and what the window does on the way.
#include "core/screen_flow.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using gls::Ask;
using gls::ExitCode;
using gls::FlowEvent;
using gls::FlowStep;
using gls::LiveFilesLeft;
using gls::Message;
using gls::Screen;
using gls::ScreenState;
using gls::Txt;
using gls::Work;
using gls::WorkOutcome;
using gls::WorkReport;
using Kind = gls::FlowEvent::Kind;

namespace gls {

// A failed row shows the step, with the state's fields that the flow changes.
void PrintTo(const FlowStep& step, std::ostream* out)
{
    const ScreenState& s = step.state;
    *out << "{screen " << static_cast<int>(s.screen) << ", newScreen " << step.newScreen << ", redraw " << step.redraw
         << ", announceChanges " << step.announceChanges << ", announceCheckbox " << step.announceCheckbox
         << ", openApp " << step.openApp << ", finish " << (step.finish ? exitNumber(*step.finish) : -1) << ", work "
         << (step.work ? static_cast<int>(*step.work) : -1) << ", ask " << static_cast<int>(step.ask) << ", folder "
         << testing::PrintToString(s.installFolder) << ", folderProblem " << testing::PrintToString(sayInEnglish(s.folderProblem))
         << ", error " << testing::PrintToString(sayInEnglish(s.error)) << ", closingApp " << s.closingApp
         << ", appRunsAsAdmin " << s.appRunsAsAdmin << ", choices " << s.desktopShortcut << s.openAppAfter
         << s.removeSettings << ", liveScriptKept " << s.liveScriptKept << ", liveProtectedFolder "
         << testing::PrintToString(s.liveProtectedFolder) << ", settingsRemoved " << s.settingsRemoved
         << ", uninstallerLeft " << s.uninstallerLeft << ", shortcuts missing " << s.startMenuShortcutMissing
         << s.desktopShortcutMissing << "}";
}

} // namespace gls

namespace {

ScreenState on(Screen screen, bool uninstalling = false)
{
    ScreenState s;
    s.screen = screen;
    s.uninstalling = uninstalling;
    s.installFolder = L"C:\\Users\\Ann\\AppData\\Local\\Programs\\Glimmerline";
    return s;
}

ScreenState with(ScreenState s, const std::function<void(ScreenState&)>& change)
{
    change(s);
    return s;
}

// The same state on another screen.
ScreenState to(ScreenState s, Screen screen)
{
    s.screen = screen;
    return s;
}

FlowEvent done(WorkOutcome outcome, Work work, WorkReport report = {})
{
    return {.kind = Kind::WorkDone, .outcome = outcome, .work = work, .report = std::move(report)};
}

struct Row {
    const char* what;
    ScreenState before;
    FlowEvent event;
    FlowStep want;
};

void check(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        EXPECT_EQ(gls::nextStep(row.before, row.event), row.want) << row.what;
    }
}

const FlowEvent primary{.kind = Kind::Primary};
const FlowEvent secondary{.kind = Kind::Secondary};
const FlowEvent toggle{.kind = Kind::Toggle};
const FlowEvent closing{.kind = Kind::Close};

} // namespace

TEST(ScreenFlow, PrimaryButtonOnEveryScreen)
{
    const ScreenState doneTicked = on(Screen::Done);
    const ScreenState doneUnticked = with(on(Screen::Done), [](ScreenState& s) { s.openAppAfter = false; });
    const ScreenState closeInstall = on(Screen::CloseApp), closeUninstall = on(Screen::CloseApp, true);
    const ScreenState endInstall = on(Screen::EndApp), endUninstall = on(Screen::EndApp, true);
    check({
        {"Install asks for the folder rules first",
         on(Screen::Welcome),
         primary,
         {.state = on(Screen::Welcome), .ask = Ask::CheckFolder}},
        {"Remove looks for the running app",
         on(Screen::RemoveConfirm, true),
         primary,
         {.state = on(Screen::RemoveConfirm, true), .ask = Ask::LookForApp}},
        {"Close Glimmerline, then install",
         closeInstall,
         primary,
         {.state = closeInstall, .work = Work::CloseThenInstall}},
        {"Close Glimmerline, then uninstall",
         closeUninstall,
         primary,
         {.state = closeUninstall, .work = Work::CloseThenUninstall}},
        {"End Glimmerline, then install", endInstall, primary, {.state = endInstall, .work = Work::EndThenInstall}},
        {"End Glimmerline, then uninstall",
         endUninstall,
         primary,
         {.state = endUninstall, .work = Work::EndThenUninstall}},
        {"the progress screen has no button", on(Screen::Progress), primary, {.state = on(Screen::Progress)}},
        {"Done opens the ticked app, then closes with 0",
         doneTicked,
         primary,
         {.state = doneTicked, .openApp = true, .finish = ExitCode::Done}},
        {"Done without the tick only closes", doneUnticked, primary, {.state = doneUnticked, .finish = ExitCode::Done}},
        {"Close on the error screen gives 1",
         on(Screen::Error),
         primary,
         {.state = on(Screen::Error), .finish = ExitCode::Failed}},
        {"Done on the removed screen gives 0",
         on(Screen::Removed, true),
         primary,
         {.state = on(Screen::Removed, true), .finish = ExitCode::Done}},
        {"Close with nothing installed gives 1",
         on(Screen::NotInstalled, true),
         primary,
         {.state = on(Screen::NotInstalled, true), .finish = ExitCode::Failed}},
        {"Close on the old-Windows screen gives 2",
         on(Screen::OldWindows),
         primary,
         {.state = on(Screen::OldWindows), .finish = ExitCode::Cancelled}},
    });
}

TEST(ScreenFlow, AnswersOfTheSystemLeadToTheCloseScreenOrTheWork)
{
    const ScreenState welcome = with(on(Screen::Welcome), [](ScreenState& s) {
        s.installFolder = L"c:/gls//Other\\";
        s.folderProblem = Message(Txt::FolderWholeDrive);
        s.appRunsAsAdmin = true; // from an earlier visit of the close screen
    });
    const ScreenState checked = with(welcome, [](ScreenState& s) {
        s.installFolder = L"C:\\gls\\Other";
        s.folderProblem = {};
    });
    const ScreenState refused = with(welcome, [](ScreenState& s) { s.folderProblem = Message(Txt::FolderUsersOwn); });
    const ScreenState remove = with(on(Screen::RemoveConfirm, true), [](ScreenState& s) { s.appRunsAsAdmin = true; });
    auto appRunning = [](bool running) { return FlowEvent{.kind = Kind::AppLookedFor, .appRunning = running}; };
    check({
        {"a refused folder keeps the welcome screen, with the rule's message to hear",
         welcome,
         {.kind = Kind::FolderChecked, .folder = gls::refused<std::wstring>(Message(Txt::FolderUsersOwn))},
         {.state = refused, .redraw = true, .announceChanges = true}},
        {"a usable folder is taken in its normal form, then the app is looked for",
         welcome,
         {.kind = Kind::FolderChecked, .folder = gls::passed<Message>(std::wstring(L"C:\\gls\\Other"))},
         {.state = checked, .ask = Ask::LookForApp}},
        {"the app runs: the close screen, asking as for any app",
         checked,
         appRunning(true),
         {.state = with(to(checked, Screen::CloseApp), [](ScreenState& s) { s.appRunsAsAdmin = false; }),
          .newScreen = true}},
        {"no app runs: the install starts", checked, appRunning(false), {.state = checked, .work = Work::Install}},
        {"the app runs at Remove: the close screen",
         remove,
         appRunning(true),
         {.state = with(to(remove, Screen::CloseApp), [](ScreenState& s) { s.appRunsAsAdmin = false; }),
          .newScreen = true}},
        {"no app runs at Remove: the uninstall starts",
         remove,
         appRunning(false),
         {.state = remove, .work = Work::Uninstall}},
    });
}

TEST(ScreenFlow, SecondaryButtonOnEveryScreen)
{
    const ScreenState error = with(on(Screen::Error), [](ScreenState& s) {
        s.error = Message(Txt::ErrorDriveFull);
        s.folderProblem = Message(Txt::FolderUsersOwn);
        s.desktopShortcut = true;
    });
    const ScreenState kept = with(on(Screen::Removed, true), [](ScreenState& s) { s.liveScriptKept = true; });
    check({
        {"Cancel on the welcome screen gives 2",
         on(Screen::Welcome),
         secondary,
         {.state = on(Screen::Welcome), .finish = ExitCode::Cancelled}},
        {"Cancel on the remove screen gives 2",
         on(Screen::RemoveConfirm, true),
         secondary,
         {.state = on(Screen::RemoveConfirm, true), .finish = ExitCode::Cancelled}},
        {"Back from the close screen of an install",
         on(Screen::CloseApp),
         secondary,
         {.state = on(Screen::Welcome), .newScreen = true}},
        {"Back from the close screen of an uninstall",
         on(Screen::CloseApp, true),
         secondary,
         {.state = on(Screen::RemoveConfirm, true), .newScreen = true}},
        {"Back from the end screen of an install",
         on(Screen::EndApp),
         secondary,
         {.state = on(Screen::Welcome), .newScreen = true}},
        {"Back from the end screen of an uninstall",
         on(Screen::EndApp, true),
         secondary,
         {.state = on(Screen::RemoveConfirm, true), .newScreen = true}},
        {"Back from an install's error keeps folder, choices, problem and text",
         error,
         secondary,
         {.state = to(error, Screen::Welcome), .newScreen = true}},
        {"an uninstall's error has no way back",
         on(Screen::Error, true),
         secondary,
         {.state = on(Screen::Error, true)}},
        {"Try again where Live held the script", kept, secondary, {.state = kept, .work = Work::RetryLiveScript}},
        {"nothing to try again", on(Screen::Removed, true), secondary, {.state = on(Screen::Removed, true)}},
        {"the done screen has one button", on(Screen::Done), secondary, {.state = on(Screen::Done)}},
        {"nothing while a job runs", on(Screen::Progress), secondary, {.state = on(Screen::Progress)}},
        {"nothing with nothing installed",
         on(Screen::NotInstalled, true),
         secondary,
         {.state = on(Screen::NotInstalled, true)}},
        {"nothing on the old-Windows screen", on(Screen::OldWindows), secondary, {.state = on(Screen::OldWindows)}},
    });
}

TEST(ScreenFlow, CheckboxFlipsTheScreensOwnChoice)
{
    auto flipped = [](ScreenState s) {
        return FlowStep{.state = std::move(s), .redraw = true, .announceCheckbox = true};
    };
    check({
        {"the desktop shortcut", on(Screen::Welcome), toggle,
         flipped(with(on(Screen::Welcome), [](ScreenState& s) { s.desktopShortcut = true; }))},
        {"opening the app", on(Screen::Done), toggle,
         flipped(with(on(Screen::Done), [](ScreenState& s) { s.openAppAfter = false; }))},
        {"removing the settings", on(Screen::RemoveConfirm, true), toggle,
         flipped(with(on(Screen::RemoveConfirm, true), [](ScreenState& s) { s.removeSettings = true; }))},
        {"no choice on the error screen", on(Screen::Error), toggle, flipped(on(Screen::Error))},
    });
}

TEST(ScreenFlow, ClosingTheWindowGivesTheScreensResult)
{
    check({
        {"ignored while a job runs", on(Screen::Progress), closing, {.state = on(Screen::Progress)}},
        {"0 after an install, without opening the app",
         on(Screen::Done),
         closing,
         {.state = on(Screen::Done), .finish = ExitCode::Done}},
        {"0 after a removal",
         on(Screen::Removed, true),
         closing,
         {.state = on(Screen::Removed, true), .finish = ExitCode::Done}},
        {"1 on the error screen", on(Screen::Error), closing, {.state = on(Screen::Error), .finish = ExitCode::Failed}},
        {"2 on the welcome screen",
         on(Screen::Welcome),
         closing,
         {.state = on(Screen::Welcome), .finish = ExitCode::Cancelled}},
        {"2 on the close screen",
         on(Screen::CloseApp),
         closing,
         {.state = on(Screen::CloseApp), .finish = ExitCode::Cancelled}},
        {"2 with nothing installed, where Close gives 1",
         on(Screen::NotInstalled, true),
         closing,
         {.state = on(Screen::NotInstalled, true), .finish = ExitCode::Cancelled}},
    });
}

TEST(ScreenFlow, FinishedWorkLeadsToTheNextScreen)
{
    const ScreenState installing = with(on(Screen::Progress), [](ScreenState& s) { s.closingApp = true; });
    const ScreenState removing = with(on(Screen::Progress, true), [](ScreenState& s) { s.closingApp = true; });
    // What the screens show after: the same state with closingApp cleared.
    auto after = [](ScreenState s, Screen screen, const std::function<void(ScreenState&)>& change = {}) {
        s.screen = screen;
        s.closingApp = false;
        if (change) change(s);
        return FlowStep{.state = std::move(s), .newScreen = true};
    };
    const LiveFilesLeft held{true, L""};
    const LiveFilesLeft walled{true, L"C:\\Docs\\User Library\\Remote Scripts"};
    const WorkReport removedAll{.uninstall = {.ok = true}};
    check({
        {"the app did not close in time: the end screen", installing,
         done(WorkOutcome::NotClosed, Work::CloseThenInstall), after(installing, Screen::EndApp)},
        {"the app did not close for the removal either", removing,
         done(WorkOutcome::NotClosed, Work::CloseThenUninstall), after(removing, Screen::EndApp)},
        {"the app runs as administrator: the close screen says so", installing,
         done(WorkOutcome::RunsAsAdmin, Work::CloseThenInstall),
         after(installing, Screen::CloseApp, [](ScreenState& s) { s.appRunsAsAdmin = true; })},
        {"the app runs as administrator at a removal", removing,
         done(WorkOutcome::RunsAsAdmin, Work::CloseThenUninstall),
         after(removing, Screen::CloseApp, [](ScreenState& s) { s.appRunsAsAdmin = true; })},
        {"the app could not be ended: the error screen", installing, done(WorkOutcome::NotEnded, Work::EndThenInstall),
         after(installing, Screen::Error, [](ScreenState& s) { s.error = Message(Txt::ErrorCannotEndApp); })},
        {"the app could not be ended for the removal", removing, done(WorkOutcome::NotEnded, Work::EndThenUninstall),
         after(removing, Screen::Error, [](ScreenState& s) { s.error = Message(Txt::ErrorCannotEndApp); })},

        {"an install", installing, done(WorkOutcome::Succeeded, Work::Install, {.install = {.ok = true}}),
         after(installing, Screen::Done)},
        {"an install once the app was ended", installing,
         done(WorkOutcome::Succeeded, Work::EndThenInstall, {.install = {.ok = true}}),
         after(installing, Screen::Done)},
        {"an install without its shortcuts", installing,
         done(WorkOutcome::Succeeded, Work::CloseThenInstall,
              {.install = {.ok = true, .startMenuShortcutMissing = true, .desktopShortcutMissing = true}}),
         after(installing, Screen::Done,
               [](ScreenState& s) {
                   s.startMenuShortcutMissing = true;
                   s.desktopShortcutMissing = true;
               })},
        {"a failed install shows its message, whatever an earlier uninstall said", installing,
         done(WorkOutcome::Failed, Work::Install,
              {.install =
                   {.ok = false, .message = Message(Txt::ErrorCannotWriteFiles), .desktopShortcutMissing = true},
               .uninstall = {.ok = true}}),
         after(installing, Screen::Error,
               [](ScreenState& s) { s.error = Message(Txt::ErrorCannotWriteFiles); })},

        {"a removal that kept the settings", removing, done(WorkOutcome::Succeeded, Work::Uninstall, removedAll),
         after(removing, Screen::Removed)},
        {"a removal with the settings", removing,
         done(WorkOutcome::Succeeded, Work::CloseThenUninstall, {.uninstall = {.ok = true, .settingsRemoved = true}}),
         after(removing, Screen::Removed, [](ScreenState& s) { s.settingsRemoved = true; })},
        {"a removal with the Live script held", removing,
         done(WorkOutcome::Succeeded, Work::EndThenUninstall, {.uninstall = {.ok = true, .liveLeft = held}}),
         after(removing, Screen::Removed, [](ScreenState& s) { s.liveScriptKept = true; })},
        {"a removal where Windows protects Live's library", removing,
         done(WorkOutcome::Succeeded, Work::Uninstall, {.uninstall = {.ok = true, .liveLeft = walled}}),
         after(removing, Screen::Removed,
               [&](ScreenState& s) {
                   s.liveScriptKept = true;
                   s.liveProtectedFolder = walled.protectedFolder;
               })},
        {"a removal whose own Uninstall.exe stays", removing,
         done(WorkOutcome::Succeeded, Work::Uninstall, {.uninstall = {.ok = true, .uninstallerLeft = true}}),
         after(removing, Screen::Removed, [](ScreenState& s) { s.uninstallerLeft = true; })},
        {"a failed removal shows its message and still what stayed in Live", removing,
         done(WorkOutcome::Failed, Work::Uninstall,
              {.install = {.ok = true},
               .uninstall = {.ok = false, .message = Message(Txt::ErrorFilesInUse, {{L"folder", L"C:\\Apps"}}), .liveLeft = held, .settingsRemoved = true}}),
         after(removing, Screen::Error,
               [](ScreenState& s) {
                   s.error = Message(Txt::ErrorFilesInUse, {{L"folder", L"C:\\Apps"}});
                   s.liveScriptKept = true;
                   s.settingsRemoved = true;
               })},

        {"Try again removed the script: its own list, not the removal's",
         with(removing, [](ScreenState& s) { s.liveScriptKept = true; }),
         done(WorkOutcome::Succeeded, Work::RetryLiveScript, {.uninstall = {.ok = true, .liveLeft = held}}),
         after(removing, Screen::Removed)},
        {"Try again while Live still holds the script", removing,
         done(WorkOutcome::Succeeded, Work::RetryLiveScript, {.retryLeft = held}),
         after(removing, Screen::Removed, [](ScreenState& s) { s.liveScriptKept = true; })},
        {"Try again where Windows protects the library", removing,
         done(WorkOutcome::Succeeded, Work::RetryLiveScript, {.retryLeft = walled}),
         after(removing, Screen::Removed,
               [&](ScreenState& s) {
                   s.liveScriptKept = true;
                   s.liveProtectedFolder = walled.protectedFolder;
               })},
    });
}
