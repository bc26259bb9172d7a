// The fonts of the window: the DirectWrite factory and the two family names.
#pragma once

#include "platform/unique_handle.h"

#include <dwrite.h>

#include <string>

namespace gls {

struct FontChoice {
    ComPtr<IDWriteFactory> factory;
    std::wstring titleFamily = L"Segoe UI";
    std::wstring bodyFamily = L"Segoe UI";
    std::wstring locale = L"en-US"; // the spoken language's, for the fallback's choice of glyphs
};

// Creates the factory and picks "Bahnschrift" for titles and "Segoe UI Variable Text" for the
// body where the system has them, and the locale of the language the setup speaks. False when no factory can be
// created.
bool chooseFonts(FontChoice& fonts);

} // namespace gls
