// The update result's text, free of the platform: what an in-app updater reads after a silent update.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

// The file's bytes: four lines, each ended by a single line feed, UTF-8 without a byte-order mark.
// The reason comes as UTF-8 already.
std::string updateResultText(std::int32_t code, const std::string& reasonUtf8);

} // namespace gls
