// Starting a process outside the job the setup runs in, where the job allows it. A terminal tab,
// a launcher or an updater may run the setup inside a job that ends every process in it when it
// closes; what the setup leaves running (the uninstaller's copy, its clean-up, the app opened
// after an update) must not end with the caller.
#pragma once

#include <windows.h>

namespace gls {

// CreateProcessW with the same arguments and CREATE_BREAKAWAY_FROM_JOB added to the flags. A job
// that allows no breakaway refuses that with ERROR_ACCESS_DENIED: the same call is then made
// without it, and the process starts inside the job. False, with the last error set, when the
// process did not start.
bool startOutsideJob(const wchar_t* program, wchar_t* commandLine, bool inheritHandles, DWORD flags,
                     const wchar_t* directory, STARTUPINFOW* startup, PROCESS_INFORMATION* started);

} // namespace gls
