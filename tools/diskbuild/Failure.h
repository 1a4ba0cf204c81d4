#pragma once

// A fault in the disk's sources, or a file of the disk that cannot be written. The builders that
// stop at the first fault throw it; their entry point hands its message back as the error.

#include <string>

struct Failure {
    std::string message;
};
