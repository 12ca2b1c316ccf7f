#pragma once
// Constants shared by the Decimal sources (not part of the public interface).

#include "store/core/WideInt.h"

namespace qav::detail {

// One whole unit in the internal 10^-12 units.
inline constexpr std::uint64_t kUnit = wide::kPow10[12];
// The first magnitude that does not fit: 10^26 whole units, i.e. 10^38 internal units.
inline constexpr wide::U128 kMagnitudeLimit = wide::mul64(wide::kPow10[19], wide::kPow10[19]);

} // namespace qav::detail
