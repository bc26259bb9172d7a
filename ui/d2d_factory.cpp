// The Direct2D factory, made by d2d1.dll of the system folder.
#include "d2d_factory.h"

#include "platform/system_library.h"

namespace gls {

bool createD2DFactory(ComPtr<ID2D1Factory>& factory)
{
    using CreateFactoryFn = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    static const CreateFactoryFn create = systemFunction<CreateFactoryFn>(L"d2d1.dll", "D2D1CreateFactory");
    return create &&
           SUCCEEDED(create(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr, factory.putVoid()));
}

} // namespace gls
