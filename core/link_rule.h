// Which reparse points count as links: the rule every folder walk and every path check follows
// before it enters a folder or goes through one. Pure arithmetic on attribute and tag bits.
#pragma once

#include <cstdint>

namespace gls {

// The attribute bit that marks a reparse point, and the tag bit that marks a name surrogate (an
// entry that stands for another named entry: a symbolic link, a junction, a mount point).
inline constexpr std::uint32_t kReparsePointAttribute = 0x400;
inline constexpr std::uint32_t kNameSurrogateTagBit = 0x20000000;

// A reparse point counts as a link unless its tag is known and is not a name surrogate. So
// symbolic links and junctions are links and are never entered, while a folder that a cloud-files
// provider, deduplication or compression keeps as a reparse point is walked like any folder. A
// tag of 0 is no tag at all (it could not be read, or the system did not give one) and keeps the
// entry a link.
bool countsAsLink(std::uint32_t attributes, std::uint32_t reparseTag);

} // namespace gls
