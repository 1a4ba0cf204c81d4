#pragma once

// The running program's process number: it tells apart the scratch files and folders of two
// copies of a program that run at the same time.

#include <cstdint>

namespace platform {

int64_t processId();

} // namespace platform
