// The elements of each screen in reading order: top to bottom, and left to right in a row.
#include "screen_elements.h"

#include "screen_texts.h"
#include "texts.h"

#include <algorithm>
#include <cmath>

namespace gls {

namespace {

// A text drawn over two lines reads as one.
std::wstring oneLine(std::wstring text)
{
    std::replace(text.begin(), text.end(), L'\n', L' ');
    return text;
}

} // namespace

std::vector<ScreenElement> screenElements(const ScreenState& s, const ScreenLayout& l)
{
    std::vector<ScreenElement> e;
    auto text = [&](ElementKind kind, const std::wstring& name, const Rect& r) {
        e.push_back({kind, Target::None, oneLine(name), {}, r});
    };
    auto control = [&](Target t, const std::wstring& name) {
        if (l.has(t))
            e.push_back({ElementKind::Control,
                         t,
                         name,
                         {},
                         l.clickable[static_cast<int>(t)],
                         t == Target::Checkbox && checkboxTicked(s)});
    };
    text(ElementKind::Title, titleText(s), l.title);
    text(ElementKind::Body, bodyText(s), l.body);
    if (s.screen == Screen::Progress) {
        // Named after the title, so that it reads "Installing, 45 %".
        long percent = std::lround(std::clamp(s.progress, 0.0f, 1.0f) * 100);
        e.push_back({ElementKind::ProgressBar, Target::None, titleText(s), std::to_wstring(percent) + L"%", l.wave});
    }
    if (s.screen == Screen::Welcome) {
        // The whole folder, though it may be drawn shortened, and said to be the install folder.
        text(ElementKind::Folder, say(Txt::ReaderInstallFolder, {{L"folder", s.installFolder}}), l.folderPath);
        control(Target::Change, linkText(Target::Change));
    }
    control(Target::Checkbox, checkboxLabel(s));
    std::wstring notice = s.screen == Screen::RemoveConfirm ? removeHintText(s) : noticeText(s);
    if (!notice.empty()) text(ElementKind::Notice, notice, l.notice);
    if (s.screen == Screen::Welcome) {
        text(ElementKind::Acceptance, acceptanceText(s), l.accept);
        control(Target::License, linkText(Target::License));
    }
    control(Target::Secondary, secondaryLabel(s));
    control(Target::Primary, primaryLabel(s));
    return e;
}

std::vector<Target> focusOrder(const std::vector<ScreenElement>& elements)
{
    std::vector<Target> order;
    for (const ScreenElement& e : elements) {
        if (e.kind == ElementKind::Control) order.push_back(e.target);
    }
    return order;
}

} // namespace gls
