#include "platform/window/Timers.h"

#include <algorithm>

namespace platform {

void Timers::set(WindowHandle window, uint64_t id, uint32_t periodMs, bool oneShot, uint32_t now)
{
    uint32_t period = std::clamp(periodMs, minimumPeriod, maximumPeriod);
    kill(window, id);
    m_timers.push_back({ window, id, period, now + period, oneShot });
}

bool Timers::kill(WindowHandle window, uint64_t id)
{
    return std::erase_if(m_timers, [&](const Timer& t) { return t.window == window && t.id == id; }) > 0;
}

void Timers::killAll(WindowHandle window)
{
    std::erase_if(m_timers, [&](const Timer& t) { return t.window == window; });
}

bool Timers::anyDue(uint32_t now) const
{
    return std::any_of(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return timeReached(now, t.deadline); });
}

std::optional<Message> Timers::due(uint32_t now, bool take)
{
    auto first = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (timeReached(now, it->deadline) && (first == m_timers.end() || int32_t(it->deadline - first->deadline) < 0))
            first = it;
    }
    if (first == m_timers.end())
        return std::nullopt;
    Message message { first->window, WM_TIMER, first->id, 0, now };
    if (take) {
        if (first->oneShot)
            m_timers.erase(first);
        else
            first->deadline = now + first->period;
    }
    return message;
}

std::optional<uint32_t> Timers::untilNext(uint32_t now) const
{
    std::optional<uint32_t> soonest;
    for (const auto& t : m_timers) {
        uint32_t wait = timeReached(now, t.deadline) ? 0 : t.deadline - now;
        if (!soonest || wait < *soonest)
            soonest = wait;
    }
    return soonest;
}

} // namespace platform
