// The progress callback that the install and the uninstall job share with whoever runs them.
#pragma once

#include "core/texts.h"

#include <functional>

namespace gls {

// Called synchronously on the job's thread with a fraction from 0 to 1 that never decreases,
// and the text that names the current step.
using ProgressCallback = std::function<void(float, Txt)>;

} // namespace gls
