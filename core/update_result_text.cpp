// The update result's text.
#include "update_result_text.h"

#include "core/version.h"

namespace gls {

std::string updateResultText(std::int32_t code, const std::string& reasonUtf8)
{
    return "glimmerline-update-result 1\ncode " + std::to_string(code) + "\nversion " + kSetupVersionUtf8 +
           "\nreason " + reasonUtf8 + "\n";
}

} // namespace gls
