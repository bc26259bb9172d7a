// The layout of a screen: fixed rectangles, and buttons and links that move with their labels.
#include "screen_layout.h"

#include "screen_texts.h"
#include "window_fit.h"

#include <algorithm>
#include <cmath>

namespace gls {

namespace {

void place(ScreenLayout& l, Target t, const Rect& r)
{
    l.clickable[static_cast<int>(t)] = r;
    l.present[static_cast<int>(t)] = true;
}

// The height a text wrapped across the body's width takes in a box narrower by the fit margin.
float wrappedRoom(const MeasureText& measure, const std::wstring& text, float size, float lineSpacing)
{
    if (text.empty() || !measure.wrappedHeight) return 0;
    return measure.wrappedHeight(text, size, lineSpacing, (416 - 24) / (1 + kTextMargin));
}

} // namespace

std::wstring ellipsizeMiddle(const std::wstring& text, float width, const MeasureText& measure)
{
    if (measure(text, 14, 400) <= width) return text;
    size_t length = text.size();
    auto candidate = [&](size_t k) {
        size_t keep = length - k;
        size_t head = keep / 2;
        return text.substr(0, head) + L"\u2026" + text.substr(length - (keep - head));
    };
    size_t lo = 1, hi = length;
    if (length < 2) return length == 0 ? text : candidate(1);
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (measure(candidate(mid), 14, 400) <= width) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return candidate(lo);
}

ScreenLayout layoutScreen(const ScreenState& state, const MeasureText& measure)
{
    ScreenLayout l;
    float rightEdge = 416;
    std::wstring primary = primaryLabel(state);
    if (!primary.empty()) {
        float width = std::max(measure(primary, 14, 600) + 40, 104.0f);
        place(l, Target::Primary, {416 - width, 328, 416, 364});
        rightEdge = 416 - width - 8;
    }
    std::wstring secondary = secondaryLabel(state);
    if (!secondary.empty()) {
        float width = std::max(measure(secondary, 14, 600) + 40, 104.0f);
        place(l, Target::Secondary, {rightEdge - width, 328, rightEdge, 364});
    }

    float checkboxTop = 220;
    if (state.screen == Screen::RemoveConfirm || state.screen == Screen::Done) {
        // A longer body (another language, a longer path) pushes the checkbox and the hint below
        // it down, into the free space above the buttons; the room is reserved for the body
        // wrapped in a box narrower by the fit margin, so that wider fonts still fit.
        float bodyHeight = wrappedRoom(measure, bodyText(state), 14, kBodyLineSpacing);
        float bodyEnd = std::ceil(l.body.top + bodyHeight);
        l.body.bottom = std::max(l.body.bottom, bodyEnd);
        checkboxTop = std::max(checkboxTop, bodyEnd + 12);
        std::wstring hint = state.screen == Screen::Done ? noticeText(state) : removeHintText(state);
        float hintTop = checkboxTop + 30;
        // It ends above the buttons whatever it needs: the fit report then shows a hint too long.
        float hintBottom = hintTop + std::max(40.0f, wrappedRoom(measure, hint, 12.5f, kHintLineSpacing));
        l.notice = {24, hintTop, 416, std::min(hintBottom, 324.0f)};
    } else if (state.screen != Screen::Welcome) {
        l.body.bottom = 316; // nothing else but the buttons below
    }
    if (state.screen == Screen::Welcome) {
        l.body.bottom = 196;
        l.folderLabel = {24, 204, 416, 226};
        float changeWidth = measure(linkText(Target::Change), 14, 600);
        place(l, Target::Change, {416 - changeWidth - 4, 230, 416, 254});
        l.folderPath = {24, 230, 416 - changeWidth - 16, 254};
        l.folderText = ellipsizeMiddle(state.installFolder, l.folderPath.right - l.folderPath.left, measure);
        l.notice = {24, 292, 416, 312};
        float licenseWidth = measure(linkText(Target::License), 14, 600);
        // The acceptance line keeps clear of both buttons; a longer one wraps upwards, into the
        // space below the notice.
        float buttonsLeft = l.has(Target::Secondary) ? l.secondary().left
                            : l.has(Target::Primary) ? l.primary().left
                                                     : 416;
        l.accept = {24, 312, buttonsLeft - 8, 345};
        place(l, Target::License, {24, 344, 24 + licenseWidth, 365});
        checkboxTop = 262;
    }
    std::wstring checkbox = checkboxLabel(state);
    if (!checkbox.empty()) {
        float width = measure(checkbox, 14, 400);
        place(l, Target::Checkbox, {24, checkboxTop, std::min(width + 30 + 4 + 24, 416.0f), checkboxTop + 24});
    }
    return l;
}

} // namespace gls
