#pragma once

#include <array>
#include <cstdint>

namespace valdrix::link {

// The instrument's USB interface chip: one product id under either of its maker's vendor ids.
// packaging/ generates the udev rule from these lines.
inline constexpr std::uint16_t kChipProduct = 0x5537;
inline constexpr std::array<std::uint16_t, 2> kChipVendors = {0x4348, 0x1a86};

}  // namespace valdrix::link
