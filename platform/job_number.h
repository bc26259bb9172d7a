// The number of a job within this process, for the work names that must differ from an earlier
// job's (a second install after Back in the same window).
#pragma once

namespace gls {

// 1 for the process's first job, then 2, 3 and so on; safe from any thread.
unsigned nextJobNumber();

} // namespace gls
