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
};

// Creates the factory and picks "Bahnschrift" for titles and "Segoe UI Variable Text" for the
// body where the system has them. False when no factory can be created.
bool chooseFonts(FontChoice& fonts);

} // namespace gls
