// Which reparse points count as links.
#include "link_rule.h"

namespace gls {

bool countsAsLink(std::uint32_t attributes, std::uint32_t reparseTag)
{
    if ((attributes & kReparsePointAttribute) == 0) return false;
    if (reparseTag == 0) return true;
    return (reparseTag & kNameSurrogateTagBit) != 0;
}

} // namespace gls
