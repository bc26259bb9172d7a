// The window's accessible object. Every call comes on the window's thread (the object lives in
// its single-threaded apartment) and reads the screen afresh, so that it always says what is
// drawn; actions are posted to the window, never run inside a client's call.
#include "window_accessible.h"

#include "core/screen_elements.h"
#include "platform/system_library.h"
#include "window.h"

#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace gls {

namespace {

// What every call answers once the window is gone.
constexpr HRESULT kDisconnected = CO_E_OBJNOTCONNECTED;

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

struct Oleacc {
    LresultFromObjectFn lresultFromObject = nullptr;
    CreateStdAccessibleObjectFn createStdAccessibleObject = nullptr;
};

// oleacc.dll is no known system library, so it is loaded from the system folder, only once a
// client asks, and kept for the rest of the process.
const Oleacc& oleacc()
{
    static const Oleacc functions = {
        systemFunction<LresultFromObjectFn>(L"oleacc.dll", "LresultFromObject"),
        systemFunction<CreateStdAccessibleObjectFn>(L"oleacc.dll", "CreateStdAccessibleObject"),
    };
    return functions;
}

// What a child id names: the object itself (element null), one of the elements, or nothing.
struct Named {
    bool valid = false;
    const ScreenElement* element = nullptr;
    long id = CHILDID_SELF;
};

Named named(const std::vector<ScreenElement>& elements, const VARIANT& child)
{
    if (child.vt != VT_I4) return {};
    long id = child.lVal;
    if (id == CHILDID_SELF) return {true, nullptr, id};
    if (id < 1 || static_cast<std::size_t>(id) > elements.size()) return {};
    return {true, &elements[static_cast<std::size_t>(id) - 1], id};
}

// The screen's elements and what the child id names among them: S_OK, or the failure a call
// returns when the window is gone or the id names nothing.
HRESULT lookUp(Window* window, const VARIANT& child, std::vector<ScreenElement>& elements, Named& found)
{
    if (!window) return kDisconnected;
    elements = window->elements();
    found = named(elements, child);
    return found.valid ? S_OK : E_INVALIDARG;
}

long childIdOf(const std::vector<ScreenElement>& elements, Target target)
{
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].kind == ElementKind::Control && elements[i].target == target) return static_cast<long>(i) + 1;
    }
    return CHILDID_SELF;
}

HRESULT giveText(const std::wstring& text, BSTR* out)
{
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

void giveChild(VARIANT* out, long id)
{
    out->vt = VT_I4;
    out->lVal = id;
}

bool isLink(Target t) { return t == Target::Change || t == Target::License; }

long roleOf(const ScreenElement& e)
{
    if (e.kind == ElementKind::ProgressBar) return ROLE_SYSTEM_PROGRESSBAR;
    if (e.kind != ElementKind::Control) return ROLE_SYSTEM_STATICTEXT;
    if (e.target == Target::Checkbox) return ROLE_SYSTEM_CHECKBUTTON;
    return isLink(e.target) ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring defaultActionOf(const ScreenElement& e)
{
    if (e.kind != ElementKind::Control) return {};
    if (e.target == Target::Checkbox) return say(e.checked ? Txt::ReaderUncheck : Txt::ReaderCheck);
    return say(isLink(e.target) ? Txt::ReaderJump : Txt::ReaderPress);
}

// The element nearest to another in a direction on the screen, by the centres: distance along
// the direction plus twice the distance across it. 0 when there is none that way.
long nearestToward(const std::vector<ScreenElement>& elements, long from, long direction)
{
    auto centre = [&](long id, float& x, float& y) {
        const Rect& r = elements[static_cast<std::size_t>(id) - 1].rect;
        x = (r.left + r.right) / 2;
        y = (r.top + r.bottom) / 2;
    };
    float fx, fy;
    centre(from, fx, fy);
    long best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (long id = 1; id <= static_cast<long>(elements.size()); ++id) {
        if (id == from) continue;
        float x, y;
        centre(id, x, y);
        float along = direction == NAVDIR_RIGHT  ? x - fx
                      : direction == NAVDIR_LEFT ? fx - x
                      : direction == NAVDIR_DOWN ? y - fy
                                                 : fy - y;
        float across = direction == NAVDIR_RIGHT || direction == NAVDIR_LEFT ? std::fabs(y - fy) : std::fabs(x - fx);
        if (along < 1) continue;
        float distance = along + 2 * across;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = id;
        }
    }
    return best;
}

} // namespace

LRESULT lresultFromAccessible(WPARAM wParam, IAccessible* object)
{
    LresultFromObjectFn serve = oleacc().lresultFromObject;
    if (!serve) return 0;
    LRESULT served = serve(IID_IAccessible, wParam, object);
    return served > 0 ? served : 0;
}

HRESULT WindowAccessible::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WindowAccessible::AddRef() { return ++references_; }

ULONG WindowAccessible::Release()
{
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT WindowAccessible::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT WindowAccessible::get_accParent(IDispatch** parent)
{
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!window_) return kDisconnected;
    // The system's own object for the window, with its title bar and frame.
    CreateStdAccessibleObjectFn create = oleacc().createStdAccessibleObject;
    if (!create) return S_FALSE;
    IAccessible* standard = nullptr;
    HRESULT hr = create(window_->handle(), OBJID_WINDOW, IID_IAccessible, reinterpret_cast<void**>(&standard));
    if (FAILED(hr)) return hr;
    *parent = standard;
    return S_OK;
}

HRESULT WindowAccessible::get_accChildCount(long* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    if (!window_) return kDisconnected;
    *count = static_cast<long>(window_->elements().size());
    return S_OK;
}

HRESULT WindowAccessible::get_accChild(VARIANT child, IDispatch** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!window_) return kDisconnected;
    Named n = named(window_->elements(), child);
    // The elements are simple children: no object of their own.
    return n.valid && n.element ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::get_accName(VARIANT child, BSTR* name)
{
    if (!name) return E_POINTER;
    *name = nullptr;
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    // The client area is named after the screen's title: a reader announces a new screen by it.
    return giveText(n.element ? n.element->name : elements.front().name, name);
}

HRESULT WindowAccessible::get_accValue(VARIANT child, BSTR* value)
{
    if (!value) return E_POINTER;
    *value = nullptr;
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    return n.element ? giveText(n.element->value, value) : S_FALSE;
}

HRESULT WindowAccessible::get_accDescription(VARIANT child, BSTR* description)
{
    if (!description) return E_POINTER;
    *description = nullptr;
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    // The client area is described by the screen's body, read after its title.
    return n.element ? S_FALSE : giveText(elements[1].name, description);
}

HRESULT WindowAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (!role) return E_POINTER;
    ::VariantInit(role);
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    role->vt = VT_I4;
    role->lVal = n.element ? roleOf(*n.element) : ROLE_SYSTEM_CLIENT;
    return S_OK;
}

HRESULT WindowAccessible::get_accState(VARIANT child, VARIANT* state)
{
    if (!state) return E_POINTER;
    ::VariantInit(state);
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    bool keyboard = window_->hasKeyboardFocus();
    long flags = 0;
    if (!n.element) {
        flags = STATE_SYSTEM_FOCUSABLE;
        if (keyboard && childIdOf(elements, window_->focus()) == CHILDID_SELF) flags |= STATE_SYSTEM_FOCUSED;
    } else if (n.element->kind != ElementKind::Control) {
        flags = STATE_SYSTEM_READONLY;
    } else {
        Target t = n.element->target;
        if (!window_->acceptsInput()) {
            flags = STATE_SYSTEM_UNAVAILABLE;
        } else {
            flags = STATE_SYSTEM_FOCUSABLE;
            if (keyboard && window_->focus() == t) flags |= STATE_SYSTEM_FOCUSED;
            if (t == Target::Primary) flags |= STATE_SYSTEM_DEFAULT; // Enter presses it when nothing has the focus
        }
        if (n.element->checked) flags |= STATE_SYSTEM_CHECKED;
        if (isLink(t)) flags |= STATE_SYSTEM_LINKED;
    }
    state->vt = VT_I4;
    state->lVal = flags;
    return S_OK;
}

HRESULT WindowAccessible::get_accHelp(VARIANT, BSTR* help)
{
    if (!help) return E_POINTER;
    *help = nullptr;
    return window_ ? S_FALSE : kDisconnected;
}

HRESULT WindowAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = -1;
    return window_ ? S_FALSE : kDisconnected;
}

HRESULT WindowAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut)
{
    if (!shortcut) return E_POINTER;
    *shortcut = nullptr;
    return window_ ? S_FALSE : kDisconnected;
}

HRESULT WindowAccessible::get_accFocus(VARIANT* child)
{
    if (!child) return E_POINTER;
    ::VariantInit(child);
    if (!window_) return kDisconnected;
    if (!window_->hasKeyboardFocus()) return S_FALSE;
    giveChild(child, childIdOf(window_->elements(), window_->focus()));
    return S_OK;
}

HRESULT WindowAccessible::get_accSelection(VARIANT* children)
{
    if (!children) return E_POINTER;
    ::VariantInit(children);
    return window_ ? S_FALSE : kDisconnected;
}

HRESULT WindowAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    if (!action) return E_POINTER;
    *action = nullptr;
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    return n.element ? giveText(defaultActionOf(*n.element), action) : S_FALSE;
}

HRESULT WindowAccessible::accSelect(long flags, VARIANT child)
{
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    // Nothing here can be selected; a control, or the client area itself, can take the focus.
    if (flags != SELFLAG_TAKEFOCUS || (n.element && n.element->kind != ElementKind::Control))
        return DISP_E_MEMBERNOTFOUND;
    if (!window_->acceptsInput()) return S_FALSE;
    window_->takeFocus(n.element ? n.element->target : Target::None);
    return S_OK;
}

HRESULT WindowAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    RECT r = n.element ? window_->screenRect(n.element->rect) : window_->clientOnScreen();
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT WindowAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!end) return E_POINTER;
    ::VariantInit(end);
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, start, elements, n); hr != S_OK) return hr;
    long count = static_cast<long>(elements.size());
    long to = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD:
        if (n.element) return E_INVALIDARG; // simple children have no children
        to = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        break;
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS:
        // The client area's own siblings are the system's, not ours.
        if (!n.element) return S_FALSE;
        to = direction == NAVDIR_NEXT ? n.id + 1 : n.id - 1;
        break;
    case NAVDIR_UP:
    case NAVDIR_DOWN:
    case NAVDIR_LEFT:
    case NAVDIR_RIGHT:
        if (!n.element) return S_FALSE;
        to = nearestToward(elements, n.id, direction);
        break;
    default: return E_INVALIDARG;
    }
    if (to < 1 || to > count) return S_FALSE;
    giveChild(end, to);
    return S_OK;
}

HRESULT WindowAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!child) return E_POINTER;
    ::VariantInit(child);
    if (!window_) return kDisconnected;
    float dx = 0, dy = 0;
    if (!window_->designPoint({x, y}, dx, dy)) return S_FALSE;
    std::vector<ScreenElement> elements = window_->elements();
    auto holds = [&](const ScreenElement& e) {
        return e.rect.left <= dx && dx < e.rect.right && e.rect.top <= dy && dy < e.rect.bottom;
    };
    // Controls first: they are drawn over the texts they may overlap.
    long found = CHILDID_SELF;
    for (bool controls : {true, false}) {
        for (std::size_t i = 0; i < elements.size() && found == CHILDID_SELF; ++i) {
            if ((elements[i].kind == ElementKind::Control) == controls && holds(elements[i]))
                found = static_cast<long>(i) + 1;
        }
    }
    giveChild(child, found);
    return S_OK;
}

HRESULT WindowAccessible::accDoDefaultAction(VARIANT child)
{
    std::vector<ScreenElement> elements;
    Named n;
    if (HRESULT hr = lookUp(window_, child, elements, n); hr != S_OK) return hr;
    if (!n.element || n.element->kind != ElementKind::Control) return DISP_E_MEMBERNOTFOUND;
    if (!window_->acceptsInput()) return E_FAIL;
    window_->requestClick(n.element->target);
    return S_OK;
}

} // namespace gls
