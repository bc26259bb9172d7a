// The setup window: one object that owns the frame, the theme, the Direct2D objects and the
// screen state, and handles the window's messages.
#pragma once

#include "core/palette.h"
#include "core/screen_elements.h"
#include "core/screen_flow.h"
#include "core/screen_layout.h"
#include "core/screen_state.h"
#include "fonts.h"
#include "install/install_result.h"
#include "platform/unique_handle.h"
#include "setup_window.h"
#include "uninstall/uninstall_job.h"

#include <windows.h>

#include <d2d1.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gls {

struct Env;

// Posted by the worker: progress (wParam: fraction x 1000; lParam 1: the close step is over), and
// the end of a job (wParam: the outcome; lParam: the job).
inline constexpr UINT MsgProgress = WM_APP + 1;
inline constexpr UINT MsgWorkDone = WM_APP + 2;

// Posted by the accessible object to act on an element as a click would (wParam: the Target;
// lParam: the Screen it was asked on, so that a request for a screen already left is dropped).
inline constexpr UINT MsgAccessibleAction = WM_APP + 3;

// While a job runs, this timer looks for a worker that has finished, in case its done message
// was lost (a full message queue refuses a post).
inline constexpr UINT_PTR kWorkDoneTimer = 1;

class WindowAccessible;

class Window {
public:
    // The worker's jobs and how one ended, as its messages carry them.
    using Work = gls::Work;
    using WorkOutcome = gls::WorkOutcome;

    explicit Window(const WindowParams& params);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates and shows the window, pumps messages until it is gone; returns the exit code.
    [[nodiscard]] ExitCode run();

    // The two button actions and the checkbox, from a click or a key.
    void onPrimary();
    void onSecondary();
    void toggleCheckbox();

    // Starts a job on the worker thread and shows the progress screen.
    void runWork(Work work);

    // For the accessible object, on the window's thread (window_a11y.cpp): the screen's elements
    // in reading order, places on the screen, the keyboard focus, and acting on an element.
    std::vector<ScreenElement> elements();
    HWND handle() const { return hwnd_; }
    RECT screenRect(const Rect& design) const;
    RECT clientOnScreen() const;
    // A point on the screen in the design space; false outside the client area.
    bool designPoint(POINT onScreen, float& x, float& y) const;
    Target focus() const { return focus_; }
    bool hasKeyboardFocus() const;
    // False while a job runs or a system dialog is open over the window.
    bool acceptsInput() const;
    void takeFocus(Target target);
    void requestClick(Target target);

private:
    struct WorkerCapture {
        Window* window;
        Work work;
        std::wstring installFolder;
        bool removeSettings;
        bool desktopShortcut;
        HWND hwnd;
    };
    void workerMain(WorkerCapture capture);
    void onWorkDone(WorkOutcome outcome, Work work);
    // Takes the step the screen flow gives for the event and carries it out.
    void act(const FlowEvent& event);

    ScreenLayout currentLayout();
    Target hitTest(LPARAM position);
    void onMouseMove(LPARAM position);
    void onButtonDown(LPARAM position);
    void onButtonUp(LPARAM position);
    void onKey(WPARAM key, LPARAM flags);
    void click(Target target);
    void pickFolder();
    void showLicense();
    void endModal();

    void moveFocus(bool forward);
    void setFocus(Target target);
    void followUiState();
    LRESULT serveAccessible(WPARAM wParam);
    void disconnectAccessible();
    // Events that let a screen reader speak without asking (NotifyWinEvent on the client area).
    void raise(DWORD event, long child);
    long childOf(ElementKind kind, Target target = Target::None);
    void announceScreen();
    void announceTitle();
    void announceProgress();
    void announceChanges();
    void goTo(Screen screen);
    void finish(ExitCode result);

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void paint();
    void onSize(LPARAM lParam);
    void onClose();
    bool onSettingChange(WPARAM wParam, LPARAM lParam);
    // Light or dark, or the user's high-contrast colours: read again when the system changes them.
    void followSystemColours();
    // The work area or the display changed: the window's fit on the monitor it is on, keeping its
    // corner where it can.
    void refitToMonitor();
    // A DPI change (per-monitor v2): the size the window will have at the new DPI (false when the
    // monitor cannot be read), and then the rectangle the system suggests with it.
    bool answerSizeForDpi(unsigned dpi, SIZE& size);
    void takeSuggestedRect(unsigned dpi, const RECT& suggested);

    WindowParams params_;
    const Env& env_;
    ScreenState state_;
    HWND hwnd_ = nullptr;
    ComPtr<ID2D1Factory> d2dFactory_;
    ComPtr<ID2D1HwndRenderTarget> renderTarget_;
    FontChoice fonts_;
    bool light_ = true;
    Palette palette_;
    float scale_ = 1.0f;
    Target hover_ = Target::None;
    Target pressed_ = Target::None;
    bool trackingLeave_ = false;
    ExitCode result_ = ExitCode::Cancelled;
    std::thread worker_;
    std::mutex progressLock_;
    Txt sharedProgressStep_ = Txt::StepGettingReady;
    InstallResult installResult_;
    UninstallResult uninstallResult_;
    std::vector<LeftFile> retryKept_;
    // Set by the worker, before it posts its done message, with the outcome it posts.
    std::atomic<bool> workFinished_{false};
    std::atomic<std::int32_t> finishedOutcome_{0};
    Work runningWork_ = Work::Install;
    // A system dialog (folder picker, license view) runs its own message loop over the window;
    // a close request that comes meanwhile waits until it returns.
    bool modal_ = false;
    bool closePending_ = false;
    // The keyboard focus: none until Tab on each screen. Its ring shows unless the system hides
    // focus cues (WM_UPDATEUISTATE) until the keyboard is used.
    Target focus_ = Target::None;
    bool hideFocus_ = true;
    long announcedPercent_ = 0;
    ComPtr<WindowAccessible> accessible_;
};

} // namespace gls
