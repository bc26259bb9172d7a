// The one setup at work per logon session: a named mutex, taken by the run that works and only
// tested for by the uninstaller that hands over to its copy.
#pragma once

#include "unique_handle.h"

namespace gls {

struct Env;

// Takes the mutex, owned; none when another setup holds it or it cannot be made.
UniqueKernelHandle takeSetupMutex(const Env& env);

// Whether another setup holds the mutex now; nothing is taken.
bool anotherSetupRuns(const Env& env);

// Gives the mutex up and closes it.
void releaseSetupMutex(UniqueKernelHandle& mutex);

} // namespace gls
