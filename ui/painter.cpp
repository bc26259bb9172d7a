// Text and decoration primitives. Formats and layouts are made for each call and released after
// it; nothing is cached between paints.
#include "painter.h"

#include "core/product.h"
#include "core/window_fit.h"
#include "platform/unique_handle.h"

namespace gls {

namespace {

float lineSpacingOf(const TextStyle& style) { return style.lineSpacing > 0 ? style.lineSpacing : 1.45f * style.size; }
float baselineOf(const TextStyle& style) { return style.baseline > 0 ? style.baseline : 1.1f * style.size; }

ComPtr<IDWriteTextFormat> makeFormat(const Painter& p, const std::wstring& family, float size, int weight)
{
    ComPtr<IDWriteTextFormat> format;
    if (!p.fonts || !p.fonts->factory) return format;
    p.fonts->factory->CreateTextFormat(family.c_str(), nullptr, static_cast<DWRITE_FONT_WEIGHT>(weight),
                                       DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, size,
                                       p.fonts->locale.c_str(), format.put());
    return format;
}

// The width of the text in that format on one line, trailing white space included.
float widthIn(const Painter& p, IDWriteTextFormat* format, const std::wstring& text)
{
    ComPtr<IDWriteTextLayout> layout;
    if (FAILED(p.fonts->factory->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format, 4000, 100,
                                                  layout.put()))) {
        return 0;
    }
    DWRITE_TEXT_METRICS metrics = {};
    if (FAILED(layout->GetMetrics(&metrics))) return 0;
    return metrics.widthIncludingTrailingWhitespace;
}

// The height of the text wrapped in that width, with the style's line spacing.
float wrappedHeightIn(const Painter& p, IDWriteTextFormat* format, const std::wstring& text, const TextStyle& style,
                      float width)
{
    ComPtr<IDWriteTextLayout> layout;
    if (FAILED(p.fonts->factory->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format, width, 4000,
                                                  layout.put()))) {
        return 0;
    }
    layout->SetLineSpacing(DWRITE_LINE_SPACING_METHOD_UNIFORM, lineSpacingOf(style), baselineOf(style));
    DWRITE_TEXT_METRICS metrics = {};
    if (FAILED(layout->GetMetrics(&metrics))) return 0;
    return metrics.height;
}

} // namespace

D2D1_COLOR_F toD2D(const Colour& c) { return D2D1::ColorF(c.r, c.g, c.b, c.a); }

float measureText(const Painter& p, const std::wstring& text, float size, int weight)
{
    ComPtr<IDWriteTextFormat> format = makeFormat(p, p.fonts ? p.fonts->bodyFamily : L"", size, weight);
    return format ? widthIn(p, format.get(), text) : 0;
}

void drawText(const Painter& p, const std::wstring& text, const Rect& r, const TextStyle& style)
{
    if (!p.target || !p.brush || text.empty()) return;
    const std::wstring& family = style.family ? *style.family : p.fonts->bodyFamily;
    ComPtr<IDWriteTextFormat> format = makeFormat(p, family, style.size, style.weight);
    if (!format) return;
    if (p.lines && !style.wrap && !style.fitsByMeasure) {
        p.lines->push_back({text, widthIn(p, format.get(), text), r.right - r.left});
    }
    if (p.lines && style.wrap) {
        p.lines->push_back({text, wrappedHeightIn(p, format.get(), text, style, (r.right - r.left) / (1 + kTextMargin)),
                            r.bottom - r.top, true});
    }
    format->SetTextAlignment(style.h == HAlign::Leading    ? DWRITE_TEXT_ALIGNMENT_LEADING
                             : style.h == HAlign::Trailing ? DWRITE_TEXT_ALIGNMENT_TRAILING
                                                           : DWRITE_TEXT_ALIGNMENT_CENTER);
    format->SetParagraphAlignment(style.v == VAlign::Top      ? DWRITE_PARAGRAPH_ALIGNMENT_NEAR
                                  : style.v == VAlign::Bottom ? DWRITE_PARAGRAPH_ALIGNMENT_FAR
                                                              : DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    ComPtr<IDWriteInlineObject> ellipsis;
    if (style.wrap) {
        format->SetLineSpacing(DWRITE_LINE_SPACING_METHOD_UNIFORM, lineSpacingOf(style), baselineOf(style));
    } else {
        format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
        DWRITE_TRIMMING trimming = {DWRITE_TRIMMING_GRANULARITY_CHARACTER, 0, 0};
        if (SUCCEEDED(p.fonts->factory->CreateEllipsisTrimmingSign(format.get(), ellipsis.put()))) {
            format->SetTrimming(&trimming, ellipsis.get());
        }
    }
    p.brush->SetColor(toD2D(style.colour));
    p.target->DrawText(text.c_str(), static_cast<UINT32>(text.size()), format.get(),
                       D2D1::RectF(r.left, r.top, r.right, r.bottom), p.brush);
}

float measureWrapped(const Painter& p, const std::wstring& text, float size, float lineSpacing, float width)
{
    ComPtr<IDWriteTextFormat> format = makeFormat(p, p.fonts ? p.fonts->bodyFamily : L"", size, 400);
    if (!format) return 0;
    TextStyle style{};
    style.size = size;
    style.lineSpacing = lineSpacing;
    return wrappedHeightIn(p, format.get(), text, style, width);
}

MeasureText measuring(const Painter& p)
{
    return {[&p](const std::wstring& text, float size, int weight) { return measureText(p, text, size, weight); },
            [&p](const std::wstring& text, float size, float lineSpacing, float width) {
                return measureWrapped(p, text, size, lineSpacing, width);
            }};
}

void fillRect(const Painter& p, const Rect& r, const Colour& c)
{
    if (!p.target || !p.brush) return;
    p.brush->SetColor(toD2D(c));
    p.target->FillRectangle(D2D1::RectF(r.left, r.top, r.right, r.bottom), p.brush);
}

void drawWave(const Painter& p, const Rect& r, int bars, float fill)
{
    Colour text = colourFromRgb(p.palette.text);
    for (const WaveBar& bar :
         waveBars(r, bars, fill, colourFromRgb(p.palette.muted), p.palette.highContrast ? &text : nullptr)) {
        fillRect(p, bar.rect, bar.colour);
    }
}

void drawWordmark(const Painter& p, const Rect& r)
{
    if (!p.target || !p.brush || !p.fonts) return;
    const std::wstring name = kAppName;
    ComPtr<IDWriteTextFormat> format = makeFormat(p, p.fonts->titleFamily, 26, 600);
    if (!format) return;
    format->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
    format->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    ComPtr<IDWriteTextLayout> layout;
    if (FAILED(p.fonts->factory->CreateTextLayout(name.c_str(), static_cast<UINT32>(name.size()), format.get(),
                                                  r.right - r.left, r.bottom - r.top, layout.put()))) {
        return;
    }
    D2D1_POINT_2F origin = D2D1::Point2F(r.left, r.top);
    p.brush->SetColor(toD2D(colourFromRgb(p.palette.text)));

    if (p.palette.highContrast) { // the user's text colour, without the spectrum
        p.target->DrawTextLayout(origin, layout.get(), p.brush);
        return;
    }
    DWRITE_HIT_TEST_METRICS box = {};
    UINT32 count = 0;
    ComPtr<ID2D1GradientStopCollection> stops;
    ComPtr<ID2D1LinearGradientBrush> gradient;
    bool spectrum = SUCCEEDED(layout->HitTestTextRange(0, 6, r.left, r.top, &box, 1, &count)) && count > 0 &&
                    box.width > 0;
    if (!spectrum) {
        // Where the range hit test is not available (Wine's text layout lacks it), the first six
        // letters laid out on their own give the same box, kerning at the seam aside.
        ComPtr<IDWriteTextLayout> prefix;
        DWRITE_TEXT_METRICS metrics = {};
        if (SUCCEEDED(p.fonts->factory->CreateTextLayout(name.c_str(), 6, format.get(), r.right - r.left,
                                                         r.bottom - r.top, prefix.put())) &&
            SUCCEEDED(prefix->GetMetrics(&metrics)) && metrics.width > 0) {
            box.left = r.left + metrics.left;
            box.width = metrics.width;
            spectrum = true;
        }
    }
    if (spectrum) {
        Colour background = colourFromRgb(p.palette.background);
        D2D1_GRADIENT_STOP stopList[13];
        for (int i = 0; i <= 12; ++i) {
            stopList[i].position = i / 12.0f;
            stopList[i].color = toD2D(ensureContrast(spectrumColor(i / 12.0f), background));
        }
        spectrum = SUCCEEDED(p.target->CreateGradientStopCollection(stopList, 13, D2D1_GAMMA_2_2,
                                                                    D2D1_EXTEND_MODE_CLAMP, stops.put())) &&
                   SUCCEEDED(p.target->CreateLinearGradientBrush(
                       D2D1::LinearGradientBrushProperties(D2D1::Point2F(box.left, r.top),
                                                           D2D1::Point2F(box.left + box.width, r.top)),
                       stops.get(), gradient.put()));
    }
    if (!spectrum) {
        p.target->DrawTextLayout(origin, layout.get(), p.brush);
        return;
    }
    // The first six letters in the gradient, the rest in the text colour: the layout is drawn
    // twice, each time clipped to its part, which looks the same as a drawing effect on the
    // range and also works where a renderer ignores drawing effects.
    float split = box.left + box.width;
    p.target->PushAxisAlignedClip(D2D1::RectF(r.left, r.top, split, r.bottom), D2D1_ANTIALIAS_MODE_ALIASED);
    p.target->DrawTextLayout(origin, layout.get(), gradient.get());
    p.target->PopAxisAlignedClip();
    p.target->PushAxisAlignedClip(D2D1::RectF(split, r.top, r.right, r.bottom), D2D1_ANTIALIAS_MODE_ALIASED);
    p.target->DrawTextLayout(origin, layout.get(), p.brush);
    p.target->PopAxisAlignedClip();
}

} // namespace gls
