// The loader search's rules as the boot code has them (search_rules.inc, which its NASM source
// includes too), for the tool's forecast of the search and its reading of the extended chain.
#pragma once

#include <cstdint>

namespace bootcode {

#define SEARCH_RULE(asm_name, name, value) constexpr std::uint32_t name = value;
#define SEARCH_LIST(asm_name, name, ...) constexpr std::uint8_t name[] = {__VA_ARGS__};
#include "installer/bootcode/search_rules.inc"
#undef SEARCH_LIST
#undef SEARCH_RULE

} // namespace bootcode
