// Message boxes of the setup.
#include "message_box.h"

#include "core/product.h"

#include <windows.h>

namespace gls {

void showMessage(const wchar_t* text, unsigned icon)
{
    ::MessageBoxW(nullptr, text, kSetupTitle, MB_OK | icon);
}

} // namespace gls
