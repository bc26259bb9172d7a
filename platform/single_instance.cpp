// The setup's single-instance mutex.
#include "single_instance.h"

#include "env.h"

#include <windows.h>

namespace gls {

UniqueKernelHandle takeSetupMutex(const Env& env)
{
    HANDLE created = ::CreateMutexW(nullptr, TRUE, env.mutexName.c_str());
    // Read before anything else can set the thread's last error: an existing mutex is opened, not made.
    bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    UniqueKernelHandle mutex(created);
    if (existed) mutex.reset();
    return mutex;
}

bool anotherSetupRuns(const Env& env)
{
    UniqueKernelHandle other(::OpenMutexW(SYNCHRONIZE, FALSE, env.mutexName.c_str()));
    return static_cast<bool>(other);
}

void releaseSetupMutex(UniqueKernelHandle& mutex)
{
    if (mutex) ::ReleaseMutex(mutex.get());
    mutex.reset();
}

} // namespace gls
