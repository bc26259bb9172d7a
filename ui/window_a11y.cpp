// The window's side of keyboard focus and assistive technology: the Tab order and the focus
// cues, the accessible object it serves, and the events that let a screen reader speak without
// asking.
#include "window.h"

#include "core/focus_order.h"
#include "window_accessible.h"

#include <cmath>
#include <new>

namespace gls {

std::vector<ScreenElement> Window::elements()
{
    {
        std::lock_guard<std::mutex> lock(progressLock_);
        state_.progressStep = sharedProgressStep_;
    }
    return screenElements(state_, currentLayout());
}

RECT Window::screenRect(const Rect& design) const
{
    POINT corners[2] = {{std::lround(design.left * scale_), std::lround(design.top * scale_)},
                        {std::lround(design.right * scale_), std::lround(design.bottom * scale_)}};
    ::ClientToScreen(hwnd_, &corners[0]);
    ::ClientToScreen(hwnd_, &corners[1]);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

RECT Window::clientOnScreen() const
{
    RECT client = {};
    ::GetClientRect(hwnd_, &client);
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    ::ClientToScreen(hwnd_, &corners[0]);
    ::ClientToScreen(hwnd_, &corners[1]);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

bool Window::designPoint(POINT onScreen, float& x, float& y) const
{
    RECT client = {};
    if (!::ScreenToClient(hwnd_, &onScreen) || !::GetClientRect(hwnd_, &client) || !::PtInRect(&client, onScreen)) {
        return false;
    }
    x = static_cast<float>(onScreen.x) / scale_;
    y = static_cast<float>(onScreen.y) / scale_;
    return true;
}

bool Window::hasKeyboardFocus() const { return ::GetFocus() == hwnd_; }

bool Window::acceptsInput() const { return ::IsWindowEnabled(hwnd_) && !modal_ && state_.screen != Screen::Progress; }

void Window::takeFocus(Target target)
{
    if (!acceptsInput() || (target != Target::None && !currentLayout().has(target))) return;
    setFocus(target);
}

void Window::requestClick(Target target)
{
    ::PostMessageW(hwnd_, MsgAccessibleAction, static_cast<WPARAM>(target), static_cast<LPARAM>(state_.screen));
}

void Window::moveFocus(bool forward) { setFocus(nextFocus(focusOrder(elements()), focus_, forward)); }

void Window::setFocus(Target target)
{
    if (target == focus_) return;
    focus_ = target;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    raise(EVENT_OBJECT_FOCUS, target == Target::None ? CHILDID_SELF : childOf(ElementKind::Control, target));
}

void Window::followUiState()
{
    bool hide = (::SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if (hide == hideFocus_) return;
    hideFocus_ = hide;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT Window::serveAccessible(WPARAM wParam)
{
    if (!accessible_) {
        auto* made = new (std::nothrow) WindowAccessible(*this);
        if (!made) return 0;
        *accessible_.put() = made;
    }
    return lresultFromAccessible(wParam, accessible_.get());
}

void Window::disconnectAccessible()
{
    if (!accessible_) return;
    accessible_->disconnect();
    // Lets go of the references that clients in other processes hold through the system.
    ::CoDisconnectObject(accessible_.get(), 0);
    accessible_.reset();
}

void Window::raise(DWORD event, long child)
{
    if (child >= 0) ::NotifyWinEvent(event, hwnd_, OBJID_CLIENT, child);
}

long Window::childOf(ElementKind kind, Target target)
{
    std::vector<ScreenElement> all = elements();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].kind == kind && all[i].target == target) return static_cast<long>(i) + 1;
    }
    return -1;
}

void Window::announceScreen()
{
    // New children, a new title and body; the focus is back on the client area, which is named
    // and described after them, so a reader speaks the new screen.
    announcedPercent_ = std::lround(state_.progress * 100);
    raise(EVENT_OBJECT_REORDER, CHILDID_SELF);
    announceTitle();
    raise(EVENT_OBJECT_NAMECHANGE, childOf(ElementKind::Body));
    if (hasKeyboardFocus()) raise(EVENT_OBJECT_FOCUS, CHILDID_SELF);
}

void Window::announceTitle()
{
    raise(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
    raise(EVENT_OBJECT_NAMECHANGE, childOf(ElementKind::Title));
    raise(EVENT_OBJECT_NAMECHANGE, childOf(ElementKind::ProgressBar)); // named after the title
}

void Window::announceProgress()
{
    // Whole percents only: a job reports many small steps.
    long percent = std::lround(state_.progress * 100);
    if (percent == announcedPercent_) return;
    announcedPercent_ = percent;
    raise(EVENT_OBJECT_VALUECHANGE, childOf(ElementKind::ProgressBar));
}

void Window::announceChanges()
{
    raise(EVENT_OBJECT_REORDER, CHILDID_SELF);
    raise(EVENT_OBJECT_NAMECHANGE, childOf(ElementKind::Folder));
    // A folder problem must be heard: the user is still on the same screen.
    if (!state_.folderProblem.empty()) raise(EVENT_SYSTEM_ALERT, childOf(ElementKind::Notice));
}

} // namespace gls
