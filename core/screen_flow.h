// Which screen follows which button, close request or finished job, and what the window does on
// the way. Pure: the window asks the system what only the system knows and carries the step out.
#pragma once

#include "checked.h"
#include "exit_code.h"
#include "screen_state.h"
#include "texts.h"
#include "work.h"

#include <optional>
#include <string>

namespace gls {

// What stayed in Live's User Libraries after a removal: anything at all, and the folder Windows
// protects when some of it stayed there.
struct LiveFilesLeft {
    bool any = false;
    std::wstring protectedFolder{};
};

// The worker's records of its jobs, as the screens use them. Each job writes only its own record;
// the others hold what an earlier job left in them.
struct InstallReport {
    bool ok = false;
    Message message{};
    bool startMenuShortcutMissing = false;
    bool desktopShortcutMissing = false;
};

struct UninstallReport {
    bool ok = false;
    Message message{};
    LiveFilesLeft liveLeft{};
    bool settingsRemoved = false;
    bool uninstallerLeft = false;
};

// What the window knows when a job is done: the worker's records.
struct WorkReport {
    InstallReport install{};
    UninstallReport uninstall{};
    LiveFilesLeft retryLeft{}; // what the Live script's removal tried again left
};

struct FlowEvent {
    enum class Kind {
        Primary,
        Secondary,
        Toggle,        // the checkbox
        Close,         // the title bar's close button
        FolderChecked, // the answer to Ask::CheckFolder
        AppLookedFor,  // the answer to Ask::LookForApp
        WorkDone,
    };
    Kind kind = Kind::Primary;
    Checked<std::wstring, Message> folder{};      // FolderChecked: the normalised folder, or why not
    bool appRunning = false;                      // AppLookedFor
    WorkOutcome outcome = WorkOutcome::Succeeded; // WorkDone, with the work that ran and its records
    Work work = Work::Install;
    WorkReport report{};
};

// A question only the system answers, about the state's install folder; its answer is the next
// event: the folder rules (FolderChecked), whether the app runs from there (AppLookedFor).
enum class Ask { Nothing, CheckFolder, LookForApp };

// What the window does, in this order: it takes the state, opens the app, closes with the result
// (and does nothing more), shows the new screen, redraws and announces, starts the job (which
// shows the progress screen), and asks its question.
struct FlowStep {
    ScreenState state{};
    bool openApp = false; // the installed app, from the state's install folder
    std::optional<ExitCode> finish{};
    bool newScreen = false; // the state's screen is new: hover and focus start afresh, it is announced
    bool redraw = false;
    bool announceChanges = false;  // the folder and the notice changed on the same screen
    bool announceCheckbox = false; // the checkbox's state changed
    std::optional<Work> work{};
    Ask ask = Ask::Nothing;

    bool operator==(const FlowStep&) const = default;
};

FlowStep nextStep(const ScreenState& state, const FlowEvent& event);

} // namespace gls
