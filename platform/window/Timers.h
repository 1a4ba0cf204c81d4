#pragma once

// Timers of the pump. A timer is a deadline on the millisecond clock; an expired timer
// becomes one WM_TIMER message when the pump has nothing more urgent to hand out, however many
// periods went by (ticks never pile up), and the next period starts from that moment. A
// one-shot timer ends with its message. Setting a timer whose window and id already run
// restarts it with the new period.

#include "platform/window/Messages.h"

#include <optional>
#include <vector>

namespace platform {

class Timers {
public:
    // Periods below the minimum become the minimum, as the platform timer call does.
    static constexpr uint32_t minimumPeriod = 10;
    static constexpr uint32_t maximumPeriod = 0x7FFFFFFF;

    void set(WindowHandle window, uint64_t id, uint32_t periodMs, bool oneShot, uint32_t now);
    bool kill(WindowHandle window, uint64_t id);
    void killAll(WindowHandle window);

    bool anyDue(uint32_t now) const;
    // The message of the timer that expired first (ties: the one set first); `take` restarts
    // it, or removes it when it is a one-shot.
    std::optional<Message> due(uint32_t now, bool take);
    // Milliseconds until the next deadline (0 when one has passed); nothing without timers.
    std::optional<uint32_t> untilNext(uint32_t now) const;

private:
    struct Timer {
        WindowHandle window;
        uint64_t id;
        uint32_t period;
        uint32_t deadline;
        bool oneShot;
    };
    std::vector<Timer> m_timers;
};

} // namespace platform
