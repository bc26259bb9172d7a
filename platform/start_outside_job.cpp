// Starts a process outside the caller's job where the job allows it, inside it where not.
#include "start_outside_job.h"

#include "log.h"

namespace gls {

bool startOutsideJob(const wchar_t* program, wchar_t* commandLine, bool inheritHandles, DWORD flags,
                     const wchar_t* directory, STARTUPINFOW* startup, PROCESS_INFORMATION* started)
{
    // Outside any job the flag changes nothing.
    if (::CreateProcessW(program, commandLine, nullptr, nullptr, inheritHandles, flags | CREATE_BREAKAWAY_FROM_JOB,
                         nullptr, directory, startup, started)) {
        return true;
    }
    if (::GetLastError() != ERROR_ACCESS_DENIED) return false;
    if (!::CreateProcessW(program, commandLine, nullptr, nullptr, inheritHandles, flags, nullptr, directory, startup,
                          started)) {
        return false;
    }
    logLine(L"the job this setup runs in lets nothing leave it; %ls runs inside it", program);
    return true;
}

} // namespace gls
