// The fonts of the window.
#include "fonts.h"

#include "core/languages.h"
#include "core/texts.h"
#include "platform/system_library.h"

namespace gls {

namespace {

bool hasFamily(IDWriteFontCollection* collection, const wchar_t* family)
{
    UINT32 index = 0;
    BOOL exists = FALSE;
    return SUCCEEDED(collection->FindFamilyName(family, &index, &exists)) && exists;
}

} // namespace

bool chooseFonts(FontChoice& fonts)
{
    using CreateFactoryFn = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);
    static const CreateFactoryFn create = systemFunction<CreateFactoryFn>(L"dwrite.dll", "DWriteCreateFactory");
    if (!create || FAILED(create(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                 reinterpret_cast<IUnknown**>(fonts.factory.put())))) {
        return false;
    }
    fonts.locale = textLocaleOf(spokenLanguage());
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(fonts.factory->GetSystemFontCollection(collection.put(), FALSE))) return true;
    if (hasFamily(collection.get(), L"Bahnschrift")) fonts.titleFamily = L"Bahnschrift";
    if (hasFamily(collection.get(), L"Segoe UI Variable Text")) fonts.bodyFamily = L"Segoe UI Variable Text";
    return true;
}

} // namespace gls
