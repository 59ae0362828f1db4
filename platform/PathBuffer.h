#pragma once

#include "platform/StackString.h"

namespace dravik {

// The platform's MAX_PATH, terminator included.
constexpr std::size_t kPathCapacity = 260;

using PathBuffer = StackString<kPathCapacity>;

}  // namespace dravik
