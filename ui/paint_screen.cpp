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
    return {colourFromRgb(p.background), colourFromRgb(p.text),  colourFromRgb(p.secondaryText),
            colourFromRgb(p.border),     colourFromRgb(p.fill),  colourFromRgb(p.accent),
            colourFromRgb(p.onAccent),   colourFromRgb(p.muted), colourFromRgb(p.link)};
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
    return D2D1::RoundedRect(D2D1::RectF(r.left + inset, r.top + inset, r.right - inset, r.bottom - inset), radius,
                             radius);
}

void drawLink(const Painter& p, const Colours& c, const std::wstring& text, const Rect& r, bool hovered)
{
    float w = measureText(p, text, 14, 600);
    TextStyle link = style(14, 600, c.link, HAlign::Leading, VAlign::Centre, false);
    link.fitsByMeasure = true; // its box is its own width
    drawText(p, text, {r.right - w, r.top, r.right + 2, r.bottom}, link);
    if (hovered) {
        float middle = (r.top + r.bottom) / 2;
        fillRect(p, {r.right - w, middle + 9, r.right, middle + 10}, c.link);
    }
}

void drawCheckbox(const Painter& p, const Colours& c, const ScreenState& s, const Rect& row, bool hovered)
{
    // High contrast has no tints: hover shows as the highlight colour on the box's border.
    bool plain = p.palette.highContrast;
    float cy = (row.top + row.bottom) / 2;
    Rect box{24, cy - 9, 42, cy + 9};
    if (checkboxTicked(s)) {
        p.brush->SetColor(toD2D(hovered && !plain ? tint(c.accent, c.background, 0.16f) : c.accent));
        p.target->FillRoundedRectangle(rounded(box, 0, 4), p.brush);
        float cx = (box.left + box.right) / 2;
        p.brush->SetColor(toD2D(c.onAccent));
        p.target->DrawLine(D2D1::Point2F(cx - 5, cy), D2D1::Point2F(cx - 1.5f, cy + 3.5f), p.brush, 1.8f);
        p.target->DrawLine(D2D1::Point2F(cx - 1.5f, cy + 3.5f), D2D1::Point2F(cx + 5, cy - 4), p.brush, 1.8f);
    } else {
        if (hovered && !plain) {
            p.brush->SetColor(toD2D(c.fill));
            p.target->FillRoundedRectangle(rounded(box, 0, 4), p.brush);
        }
        Colour border = plain ? (hovered ? c.accent : c.text) : (hovered ? c.text : c.muted);
        p.brush->SetColor(toD2D(border));
        p.target->DrawRoundedRectangle(rounded(box, 0.75f, 4), p.brush, 1.5f);
    }
    drawText(p, checkboxLabel(s), {box.right + 12, row.top, 416, row.bottom},
             style(14, 400, c.text, HAlign::Leading, VAlign::Centre, false));
}

struct ButtonLook {
    bool filled;
    Colour fill;
    bool bordered;
    Colour border;
    Colour label;
};

ButtonLook buttonLook(const Colours& c, bool highContrast, bool primary, bool hovered, bool pressed)
{
    if (highContrast) {
        // No tints: a hovered or pressed button turns to the highlight colours, as the system's own
        // buttons do; the primary one, drawn in them already, turns inside out.
        bool active = hovered || pressed;
        if (primary)
            return active ? ButtonLook{true, c.onAccent, true, c.accent, c.accent}
                          : ButtonLook{true, c.accent, false, {}, c.onAccent};
        return active ? ButtonLook{true, c.accent, true, c.accent, c.onAccent}
                      : ButtonLook{true, c.fill, true, c.border, c.border};
    }
    if (primary) {
        Colour fill = pressed   ? tint(c.accent, c.background, 0.30f)
                      : hovered ? tint(c.accent, c.background, 0.16f)
                                : c.accent;
        return {true, fill, false, {}, c.onAccent};
    }
    return {pressed || hovered, pressed ? c.border : c.fill, true, c.border, c.text};
}

void drawButton(const Painter& p, const Colours& c, const std::wstring& label, const Rect& r, bool primary,
                bool hovered, bool pressed)
{
    ButtonLook look = buttonLook(c, p.palette.highContrast, primary, hovered, pressed);
    if (look.filled) {
        p.brush->SetColor(toD2D(look.fill));
        p.target->FillRoundedRectangle(rounded(r, 0, 6), p.brush);
    }
    if (look.bordered) {
        p.brush->SetColor(toD2D(look.border));
        p.target->DrawRoundedRectangle(rounded(r, 0.5f, 6), p.brush, 1.0f);
    }
    drawText(p, label, r, style(14, 600, look.label, HAlign::Centre, VAlign::Centre, false));
}

// The keyboard focus: a ring in the text colour around the element, with a gap of background
// between them so that it also shows around the filled primary button. A link's ring follows
// its text, which sits at the right of its rectangle, and keeps clear of the line above.
void drawFocusRing(const Painter& p, const Colours& c, const Rect& r, Target t)
{
    p.brush->SetColor(toD2D(c.text));
    if (t == Target::Change || t == Target::License) {
        float w = measureText(p, linkText(t), 14, 600);
        Rect ring{r.right - w - 3, r.top + 2, r.right + 3, r.bottom};
        p.target->DrawRoundedRectangle(rounded(ring, 0, 3), p.brush, 1.5f);
        return;
    }
    bool button = t == Target::Primary || t == Target::Secondary;
    p.target->DrawRoundedRectangle(rounded(r, -3, button ? 9 : 4), p.brush, 2.0f);
}

float waveFill(const ScreenState& s)
{
    if (s.screen == Screen::Progress) return s.uninstalling ? 1 - s.progress : s.progress;
    if (s.screen == Screen::Removed || s.screen == Screen::NotInstalled) return 0;
    return 1;
}

} // namespace

void paintScreen(const Painter& p, const ScreenState& s, Target hover, Target pressed, Target focus)
{
    if (!p.target || !p.brush) return;
    ScreenLayout l = layoutScreen(s, measuring(p));
    Colours c = coloursOf(p.palette);
    p.target->Clear(toD2D(c.background));
    drawWordmark(p, {24, 22, 416, 58});
    drawText(p, say(Txt::VersionLabel, {{L"version", kSetupVersion}}), {24, 30, 416, 56},
             style(12.5f, 400, c.secondary, HAlign::Trailing, VAlign::Centre, false));
    drawWave(p, l.wave, 98, waveFill(s));
    drawText(p, titleText(s), l.title, style(17, 600, c.text, HAlign::Leading, VAlign::Centre, false));
    drawText(p, bodyText(s), l.body, style(14, 400, c.secondary, HAlign::Leading, VAlign::Top, true));

    if (s.screen == Screen::Welcome) {
        TextStyle label = style(15, 600, c.text, HAlign::Leading, VAlign::Centre, false);
        label.family = &p.fonts->titleFamily;
        drawText(p, say(Txt::FolderLabel), l.folderLabel, label);
        TextStyle path = style(14, 400, c.text, HAlign::Leading, VAlign::Centre, false);
        path.fitsByMeasure = true; // shortened in the middle until it fits
        drawText(p, l.folderText, l.folderPath, path);
        drawLink(p, c, linkText(Target::Change), l.change(), hover == Target::Change);
        TextStyle accept = style(12.5f, 400, c.secondary, HAlign::Leading, VAlign::Bottom, true);
        accept.lineSpacing = 16;
        accept.baseline = 12;
        drawText(p, acceptanceText(s), l.accept, accept);
        drawLink(p, c, linkText(Target::License), l.license(), hover == Target::License);
        std::wstring notice = noticeText(s);
        bool problem = !s.folderProblem.empty();
        drawText(p, notice, l.notice,
                 style(problem ? 14 : 12.5f, problem ? 600 : 400, problem ? c.text : c.secondary, HAlign::Leading,
                       VAlign::Centre, false));
    }
    if (s.screen == Screen::RemoveConfirm || s.screen == Screen::Done) {
        TextStyle hint = style(12.5f, 400, c.secondary, HAlign::Leading, VAlign::Top, true);
        hint.lineSpacing = kHintLineSpacing;
        hint.baseline = 13.75f;
        drawText(p, s.screen == Screen::Done ? noticeText(s) : removeHintText(s), l.notice, hint);
    }
    if (l.has(Target::Checkbox)) drawCheckbox(p, c, s, l.checkbox(), hover == Target::Checkbox);
    if (l.has(Target::Secondary)) {
        drawButton(p, c, secondaryLabel(s), l.secondary(), false, hover == Target::Secondary,
                   pressed == Target::Secondary);
    }
    if (l.has(Target::Primary)) {
        drawButton(p, c, primaryLabel(s), l.primary(), true, hover == Target::Primary, pressed == Target::Primary);
    }
    if (focus != Target::None && l.has(focus)) drawFocusRing(p, c, l.clickable[static_cast<int>(focus)], focus);
}

} // namespace gls
