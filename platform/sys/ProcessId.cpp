#include "platform/sys/ProcessId.h"

#include <unistd.h>

namespace platform {

int64_t processId()
{
    return static_cast<int64_t>(::getpid());
}

} // namespace platform
