// Painting a whole screen: wordmark, version, wave band, texts, the welcome screen's folder row,
// links and notice, the checkbox and the buttons.
#include "paint_screen.h"

#include "core/screen_texts.h"
#include "core/version.h"

namespace gls {

namespace {

struct Colours {
    Colour background, text, secondary, border, fill, accent, onAccent, muted, link;
};

Colours coloursOf(const Palette& p)
{
    return {colourFromRgb(p.background), colourFromRgb(p.text),     colourFromRgb(p.secondaryText),
            colourFromRgb(p.border),     colourFromRgb(p.fill),     colourFromRgb(p.accent),
            colourFromRgb(p.onAccent),   colourFromRgb(p.muted),    colourFromRgb(p.link)};
}

TextStyle style(float size, int weight, const Colour& colour, HAlign h, VAlign v, bool wrap)
{
    TextStyle s;
    s.size = size;
    s.weight = weight;
    s.colour = colour;
    s.h = h;
    s.v = v;
    s.wrap = wrap;
    return s;
}

D2D1_ROUNDED_RECT rounded(const Rect& r, float inset, float radius)
{
    return D2D1::RoundedRect(D2D1::RectF(r.left + inset, r.top + inset, r.right - inset, r.bottom - inset), radius, radius);
}

void drawLink(const Painter& p, const Colours& c, const std::wstring& text, const Rect& r, bool hovered)
{
    float w = measureText(p, text, 14, 600);
    drawText(p, text, {r.right - w, r.top, r.right + 2, r.bottom}, style(14, 600, c.link, HAlign::Leading, VAlign::Centre, false));
    if (hovered) {
        float middle = (r.top + r.bottom) / 2;
        fillRect(p, {r.right - w, middle + 9, r.right, middle + 10}, c.link);
    }
}

bool checkboxTicked(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return s.desktopShortcut;
    case Screen::Done: return s.openAppAfter;
    case Screen::RemoveConfirm: return s.removeSettings;
    default: return false;
    }
}

void drawCheckbox(const Painter& p, const Colours& c, const ScreenState& s, const Rect& row, bool hovered)
{
    float cy = (row.top + row.bottom) / 2;
    Rect box{24, cy - 9, 42, cy + 9};
    if (checkboxTicked(s)) {
        p.brush->SetColor(toD2D(hovered ? tint(c.accent, c.background, 0.16f) : c.accent));
        p.target->FillRoundedRectangle(rounded(box, 0, 4), p.brush);
        float cx = (box.left + box.right) / 2;
        p.brush->SetColor(toD2D(c.onAccent));
        p.target->DrawLine(D2D1::Point2F(cx - 5, cy), D2D1::Point2F(cx - 1.5f, cy + 3.5f), p.brush, 1.8f);
        p.target->DrawLine(D2D1::Point2F(cx - 1.5f, cy + 3.5f), D2D1::Point2F(cx + 5, cy - 4), p.brush, 1.8f);
    } else {
        if (hovered) {
            p.brush->SetColor(toD2D(c.fill));
            p.target->FillRoundedRectangle(rounded(box, 0, 4), p.brush);
        }
        p.brush->SetColor(toD2D(hovered ? c.text : c.muted));
        p.target->DrawRoundedRectangle(rounded(box, 0.75f, 4), p.brush, 1.5f);
    }
    drawText(p, checkboxLabel(s), {box.right + 12, row.top, 416, row.bottom},
             style(14, 400, c.text, HAlign::Leading, VAlign::Centre, false));
}

void drawButton(const Painter& p, const Colours& c, const std::wstring& label, const Rect& r, bool primary,
                bool hovered, bool pressed)
{
    if (primary) {
        Colour fill = pressed ? tint(c.accent, c.background, 0.30f) : hovered ? tint(c.accent, c.background, 0.16f) : c.accent;
        p.brush->SetColor(toD2D(fill));
        p.target->FillRoundedRectangle(rounded(r, 0, 6), p.brush);
    } else {
        if (pressed || hovered) {
            p.brush->SetColor(toD2D(pressed ? c.border : c.fill));
            p.target->FillRoundedRectangle(rounded(r, 0, 6), p.brush);
        }
        p.brush->SetColor(toD2D(c.border));
        p.target->DrawRoundedRectangle(rounded(r, 0.5f, 6), p.brush, 1.0f);
    }
    drawText(p, label, r, style(14, 600, primary ? c.onAccent : c.text, HAlign::Centre, VAlign::Centre, false));
}

float waveFill(const ScreenState& s)
{
    if (s.screen == Screen::Progress) return s.uninstalling ? 1 - s.progress : s.progress;
    if (s.screen == Screen::Removed || s.screen == Screen::NotInstalled) return 0;
    return 1;
}

} // namespace

void paintScreen(const Painter& p, const ScreenState& s, Target hover, Target pressed)
{
    if (!p.target || !p.brush) return;
    ScreenLayout l = layoutScreen(s, measuring(p));
    Colours c = coloursOf(p.palette);
    p.target->Clear(toD2D(c.background));
    drawWordmark(p, {24, 22, 416, 58});
    drawText(p, std::wstring(L"Version ") + kSetupVersion, {24, 30, 416, 56},
             style(12.5f, 400, c.secondary, HAlign::Trailing, VAlign::Centre, false));
    drawWave(p, l.wave, 98, waveFill(s));
    drawText(p, titleText(s), l.title, style(17, 600, c.text, HAlign::Leading, VAlign::Centre, false));
    drawText(p, bodyText(s), l.body, style(14, 400, c.secondary, HAlign::Leading, VAlign::Top, true));

    if (s.screen == Screen::Welcome) {
        TextStyle label = style(15, 600, c.text, HAlign::Leading, VAlign::Centre, false);
        label.family = &p.fonts->titleFamily;
        drawText(p, L"Folder", l.folderLabel, label);
        drawText(p, l.folderText, l.folderPath, style(14, 400, c.text, HAlign::Leading, VAlign::Centre, false));
        drawLink(p, c, L"Change\u2026", l.change(), hover == Target::Change);
        drawText(p, L"By installing you accept the", l.accept,
                 style(12.5f, 400, c.secondary, HAlign::Leading, VAlign::Centre, false));
        drawLink(p, c, L"License Agreement", l.license(), hover == Target::License);
        std::wstring notice = noticeText(s);
        bool problem = !s.folderProblem.empty();
        drawText(p, notice, l.notice,
                 style(problem ? 14 : 12.5f, problem ? 600 : 400, problem ? c.text : c.secondary, HAlign::Leading,
                       VAlign::Centre, false));
    }
    if (s.screen == Screen::RemoveConfirm) {
        TextStyle hint = style(12.5f, 400, c.secondary, HAlign::Leading, VAlign::Top, true);
        hint.lineSpacing = 18.125f;
        hint.baseline = 13.75f;
        drawText(p, removeHintText(s), l.notice, hint);
    }
    if (l.has(Target::Checkbox)) drawCheckbox(p, c, s, l.checkbox(), hover == Target::Checkbox);
    if (l.has(Target::Secondary)) {
        drawButton(p, c, secondaryLabel(s), l.secondary(), false, hover == Target::Secondary, pressed == Target::Secondary);
    }
    if (l.has(Target::Primary)) {
        drawButton(p, c, primaryLabel(s), l.primary(), true, hover == Target::Primary, pressed == Target::Primary);
    }
}

} // namespace gls
