#include "framework/runtime/EventQueue.h"

#include "framework/runtime/Error.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

struct Node {
    Node* next = nullptr;
    Node* previous = nullptr;
    qelEvent event;
};

struct Queue {
    int32_t capacity = 0;
    Node* nodes = nullptr;
    Node* head = nullptr;
    Node* tail = nullptr;
    Node* freeList = nullptr;
};

Queue queue;
int32_t timerId = 0;
int32_t timerPeriod = 0;
uint32_t lastInputTime = 0;
bool inactivityFired = false;
// Milliseconds without input after which an inactivity event is returned; -1 keeps it off, and
// nothing in the system turns it on.
constexpr int32_t inactivityLimit = -1;

qelMovieOpenHook movieOpenHook = nullptr;
qelMediaPollHook mediaPollHook = nullptr;

constexpr int32_t framework_timer = 1;
constexpr int32_t receive_timer = 23;
// While a sound plays, waits are cut into slices this long so that its end is noticed.
constexpr int32_t media_poll_slice = 10;

platform::Pump* pump()
{
    platform::WindowSystem* system = qelWindowSystem();
    return system ? &system->pump() : nullptr;
}

platform::WindowHandle mainWindow()
{
    platform::WindowSystem* system = qelWindowSystem();
    return system ? system->window().handle() : 0;
}

void makePool()
{
    // A pool of 0 would drop the start event and stop the program; a huge one would exhaust
    // memory: the setting is brought into a sane range.
    queue.capacity = qelGetIntSettingInRange("EventLimit", 50, 2, 10000);
    queue.nodes = new Node[size_t(queue.capacity)];
    for (int32_t i = queue.capacity - 1; i >= 0; --i) {
        queue.nodes[i].next = queue.freeList;
        queue.freeList = &queue.nodes[i];
    }
}

void unlink(Node* node)
{
    (node->previous ? node->previous->next : queue.head) = node->next;
    (node->next ? node->next->previous : queue.tail) = node->previous;
    node->next = queue.freeList;
    node->previous = nullptr;
    queue.freeList = node;
}

Node* firstMatching(int32_t mask)
{
    for (Node* node = queue.head; node; node = node->next) {
        if (node->event.type & mask)
            return node;
    }
    return nullptr;
}

bool coalesces(int32_t type)
{
    return type == QEL_MOUSE_MOVE_EVENT || type == QEL_TICK_EVENT || type == QEL_DRAG_EVENT || type == QEL_QUIT_EVENT;
}

// The keyboard messages (key down to dead character) and the mouse messages (move to middle
// button up) are the user's input.
bool isInputMessage(uint32_t id)
{
    return (id >= platform::WM_KEYDOWN && id <= platform::WM_SYSDEADCHAR)
        || (id >= platform::WM_MOUSEMOVE && id <= platform::WM_MBUTTONUP);
}

// Dispatches one platform message taken from the pump. With `countInput`, keyboard and mouse
// messages restart the inactivity count.
void dispatchTaken(const platform::Message& message, bool countInput)
{
    platform::Pump* p = pump();
    if (countInput && inactivityLimit >= 0 && isInputMessage(message.id)) {
        inactivityFired = false;
        lastInputTime = p->now();
    }
    p->dispatch(message);
}

// Takes one platform message and dispatches it. When there is none, runs the media poll and
// sleeps until a message arrives, the deadline passes or the next poll is due, instead of
// spinning on the processor. With `countInput`, keyboard and mouse messages restart the
// inactivity count.
void pumpOnce(std::optional<uint32_t> deadline, bool countInput)
{
    platform::Pump* p = pump();
    platform::Message message;
    if (movieOpenHook && movieOpenHook()) {
        int32_t left = deadline ? std::max<int32_t>(int32_t(*deadline - p->now()), 1) : -1;
        if (qelWaitMessage(message, left) == 1)
            p->dispatch(message);
        return;
    }
    bool got = p->peek(message, true);
    if (!got) {
        Node* lastQueued = queue.tail;
        bool polling = mediaPollHook && mediaPollHook();
        // The poll may have posted a media notice: the caller looks at it before any wait.
        if (queue.tail != lastQueued)
            return;
        int32_t limit = deadline ? std::max<int32_t>(int32_t(*deadline - p->now()), 0) : -1;
        if (polling)
            limit = limit < 0 ? media_poll_slice : std::min(limit, media_poll_slice);
        got = p->wait(message, limit) >= 0 && message.id != platform::WM_QUIT;
        if (!got)
            return;
    }
    dispatchTaken(message, countInput);
}

// Dispatches the platform messages that are already waiting, without waiting for more, so that a
// look for input with no time left still sees what the user did. The bound keeps a procedure that
// posts a message for every message it handles from holding the caller forever.
void pumpWaiting(bool countInput)
{
    constexpr int max_waiting_messages = 256;
    platform::Pump* p = pump();
    platform::Message message;
    for (int i = 0; i < max_waiting_messages && p->peek(message, true); ++i)
        dispatchTaken(message, countInput);
}

// The loop shared by get and peek.
void takeEvent(qelEvent& event, int32_t mask, int32_t timeoutMs, bool remove)
{
    uint32_t now = qelClockNow();
    std::optional<uint32_t> deadline;
    if (timeoutMs >= 0)
        deadline = now + uint32_t(timeoutMs);
    if (remove) {
        if (lastInputTime == 0)
            lastInputTime = now;
        if (inactivityLimit >= 0 && !inactivityFired && uint32_t(now - lastInputTime) >= uint32_t(inactivityLimit)) {
            inactivityFired = true;
            event = qelNullEvent(int32_t(now));
            event.type = QEL_INACTIVITY_EVENT;
            return;
        }
    }
    if (!queue.nodes) {
        if (remove)
            makePool();
        event = qelNullEvent(int32_t(now));
        return;
    }
    std::optional<uint32_t> reachedAt;
    while (true) {
        if (Node* node = firstMatching(mask)) {
            if (remove) {
                event = std::move(node->event);
                node->event = qelEvent {};
                unlink(node);
            } else {
                event = node->event;
            }
            return;
        }
        if (reachedAt) {
            event = qelNullEvent(int32_t(*reachedAt));
            return;
        }
        now = qelClockNow();
        if (deadline && platform::timeReached(now, *deadline)) {
            // Before giving up, pass on once what already waits in the window's queue: a look for
            // input with a time-out of 0 must see a key that is pressed.
            reachedAt = now;
            if (pump())
                pumpWaiting(remove);
            continue;
        }
        if (!pump()) {
            // No platform messages can come: nothing will ever be posted.
            event = qelNullEvent(int32_t(now));
            return;
        }
        pumpOnce(deadline, remove);
    }
}

} // namespace

qelEvent qelNullEvent(int32_t time)
{
    qelEvent event;
    event.time = time;
    return event;
}

uint32_t qelClockNow()
{
    platform::WindowSystem* system = qelWindowSystem();
    return system ? system->now() : 0;
}

int32_t qelPostEvent(const qelEvent& event)
{
    if (!queue.nodes)
        makePool();
    if (coalesces(event.type)) {
        for (Node* node = queue.head; node; node = node->next) {
            if (node->event.type == event.type) {
                node->event = event;
                return 1;
            }
        }
    }
    Node* node = queue.freeList;
    if (!node)
        return 0;
    queue.freeList = node->next;
    node->event = event;
    node->next = nullptr;
    node->previous = queue.tail;
    (queue.tail ? queue.tail->next : queue.head) = node;
    queue.tail = node;
    return 1;
}

void qelPostQuit()
{
    qelEvent quit = qelNullEvent(int32_t(qelClockNow()));
    quit.type = QEL_QUIT_EVENT;
    if (qelPostEvent(quit))
        return;
    qelFlushEvents(QEL_ALL_EVENTS);
    if (!qelPostEvent(quit))
        qelFatal(-1);
}

void qelGetEvent(qelEvent& event, int32_t mask, int32_t timeoutMs)
{
    takeEvent(event, mask, timeoutMs, true);
}

void qelPeekEvent(qelEvent& event, int32_t mask, int32_t timeoutMs)
{
    takeEvent(event, mask, timeoutMs, false);
}

void qelFlushEvents(int32_t mask)
{
    Node* node = queue.head;
    while (node) {
        Node* next = node->next;
        if (node->event.type & mask) {
            node->event = qelEvent {};
            unlink(node);
        }
        node = next;
    }
}

void qelWait(int32_t ms)
{
    platform::Pump* p = pump();
    if (!p)
        return;
    uint32_t deadline = p->now() + uint32_t(std::max(ms, 0));
    while (!platform::timeReached(p->now(), deadline))
        pumpOnce(deadline, false);
}

void qelStartTimer(int32_t ms)
{
    // The window system's shortest period: a period of 0 or less runs at that pace, as a platform
    // timer asked for less does, rather than leaving the caller waiting for a tick that never comes.
    constexpr int32_t min_timer_period = 10;
    ms = std::max(ms, min_timer_period);
    if (timerId)
        qelStopTimer();
    platform::Pump* p = pump();
    if (p && p->setTimer(mainWindow(), framework_timer, uint32_t(ms))) {
        timerId = framework_timer;
        timerPeriod = ms;
    }
}

void qelStopTimer()
{
    platform::Pump* p = pump();
    if (p && p->killTimer(mainWindow(), framework_timer))
        timerId = 0;
    else if (!p)
        timerId = 0;
}

int32_t qelTimerId()
{
    return timerId;
}

int32_t qelTimerPeriod()
{
    return timerPeriod;
}

void qelFreeEventQueue()
{
    delete[] queue.nodes;
    queue = Queue {};
    lastInputTime = 0;
    inactivityFired = false;
}

int32_t qelWaitMessage(platform::Message& message, int32_t timeoutMs)
{
    platform::Pump* p = pump();
    if (!p)
        return 0;
    if (p->peek(message, true))
        return message.id == platform::WM_QUIT ? 0 : 1;
    if (timeoutMs > 0) {
        platform::WindowHandle window = mainWindow();
        if (!p->setTimer(window, receive_timer, uint32_t(timeoutMs), true))
            return 0;
        int32_t result = p->wait(message, -1);
        if (result == 1 && message.id == platform::WM_TIMER && message.window == window
            && message.wParam == uint64_t(receive_timer))
            result = -1;
        p->killTimer(window, receive_timer);
        return result;
    }
    return p->wait(message, -1);
}

void qelSetMediaHooks(qelMovieOpenHook movieOpen, qelMediaPollHook mediaPoll)
{
    movieOpenHook = movieOpen;
    mediaPollHook = mediaPoll;
}

int32_t qelEventPoolSize()
{
    return queue.capacity;
}
