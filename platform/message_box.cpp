// Message boxes of the setup.
#include "message_box.h"

#include "core/product.h"
#include "env.h"
#include "log.h"

#include <windows.h>

namespace gls {

void showMessage(const wchar_t* text, unsigned icon)
{
    ::MessageBoxW(nullptr, text, say(Txt::SetupTitle).c_str(), MB_OK | icon);
}

void tellUser(const Env& env, bool silent, const Message& message)
{
    logLine(L"%ls", sayInEnglish(message).c_str());
    if (!silent && !env.testMode) showMessage(say(message).c_str(), MB_ICONINFORMATION);
}

} // namespace gls
