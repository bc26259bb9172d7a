// Numbers the jobs of this process.
#include "job_number.h"

#include <atomic>

namespace gls {

unsigned nextJobNumber()
{
    static std::atomic<unsigned> jobs{0};
    return ++jobs;
}

} // namespace gls
