// The worker: one thread at a time runs a job while the window keeps painting its progress.
#include "window.h"

#include "install/install_job.h"
#include "platform/env.h"
#include "platform/log.h"
#include "process/running_app.h"
#include "uninstall/live_files.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace gls {

namespace {

// The progress screen shows at least this long, so even an instant job is seen.
constexpr ULONGLONG kMinimumShowMs = 700;

} // namespace

void Window::runWork(Work work)
{
    if (worker_.joinable()) worker_.join();
    Screen from = state_.screen;
    state_.progress = 0;
    state_.closingApp = isCloseJob(work) || isEndJob(work);
    {
        std::lock_guard<std::mutex> lock(progressLock_);
        sharedProgressStep_ = state_.closingApp ? Txt::StepWaitingForApp : Txt::StepGettingReady;
    }
    goTo(Screen::Progress);
    workFinished_ = false;
    runningWork_ = work;
    WorkerCapture capture{this, work, state_.installFolder, state_.removeSettings, state_.desktopShortcut, hwnd_};
    try {
        worker_ = std::thread(&Window::workerMain, this, std::move(capture));
        ::SetTimer(hwnd_, kWorkDoneTimer, 250, nullptr);
    } catch (const std::system_error& e) {
        // No done message will come: go back to where the job started and say what to do.
        logLine(L"could not start the work: %hs", e.what());
        state_.closingApp = false;
        if (from == Screen::Welcome) {
            state_.folderProblem = Txt::ErrorCannotStart;
        }
        goTo(from);
        announceChanges();
    }
}

void Window::workerMain(WorkerCapture capture)
{
    ULONGLONG start = ::GetTickCount64();
    HWND hwnd = capture.hwnd;
    WorkOutcome outcome = WorkOutcome::Succeeded;
    auto progress = [this, hwnd](float fraction, Txt step) {
        {
            std::lock_guard<std::mutex> lock(progressLock_);
            sharedProgressStep_ = step;
        }
        WPARAM permille = static_cast<WPARAM>(std::lround(std::clamp(fraction, 0.0f, 1.0f) * 1000.0f));
        ::PostMessageW(hwnd, MsgProgress, permille, 0);
    };

    bool ready = true;
    CloseOutcome closing = isCloseJob(capture.work)
                               ? askAppToClose(env_, capture.installFolder, appCloseBudgetMs(env_, false))
                               : CloseOutcome::Closed;
    if (closing != CloseOutcome::Closed) {
        outcome = closing == CloseOutcome::RefusedForRights ? WorkOutcome::RunsAsAdmin : WorkOutcome::NotClosed;
        ready = false;
    } else if (isEndJob(capture.work) && !endApp(env_, capture.installFolder)) {
        outcome = WorkOutcome::NotEnded;
        ready = false;
    }
    if (ready) {
        ::PostMessageW(hwnd, MsgProgress, 0, 1);
        // An exception must not end the program from this thread: the window shows the failure and
        // the run ends with its code.
        try {
            if (capture.work == Work::RetryLiveScript) {
                retryKept_ = removeLiveFiles(env_);
            } else if (isUninstallJob(capture.work)) {
                uninstallResult_ = removeInstallation(env_, capture.installFolder, capture.removeSettings, progress,
                                                      params_.runningUninstaller);
                outcome = uninstallResult_.ok ? WorkOutcome::Succeeded : WorkOutcome::Failed;
            } else {
                installResult_ = installApp(env_, *params_.payload, capture.installFolder, capture.desktopShortcut,
                                            progress);
                outcome = installResult_.ok ? WorkOutcome::Succeeded : WorkOutcome::Failed;
            }
        } catch (...) {
            logCaughtException();
            uninstallResult_ = {};
            installResult_ = {};
            uninstallResult_.message = installResult_.message = Txt::ErrorUnexpected;
            outcome = WorkOutcome::Failed;
        }
    }
    ULONGLONG spent = ::GetTickCount64() - start;
    if (spent < kMinimumShowMs) ::Sleep(static_cast<DWORD>(kMinimumShowMs - spent));
    finishedOutcome_ = static_cast<std::int32_t>(outcome);
    workFinished_ = true;
    ::PostMessageW(hwnd, MsgWorkDone, static_cast<WPARAM>(outcome), static_cast<LPARAM>(capture.work));
}

} // namespace gls
