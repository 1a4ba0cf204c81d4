#pragma once

// The event queue: one per process, a fixed pool of "EventLimit" nodes (50 by default, brought
// into [2, 10000]) made on first use and never grown. The window procedure and a few framework
// operations post events; the main loop and every nested loop take them out, filtered by a mask
// of event bits. When nothing queued matches, taking an event pumps the platform's messages,
// whose window procedure posts new events.
//
// Mouse moves, drags and timer ticks replace the first queued event of their own kind instead of
// piling up (the replaced event keeps its place), and so does a quit while a quit is queued.
//
// Times are milliseconds of the platform clock, which wraps every 49.7 days: deadlines are
// compared by the signed difference, never by order of the raw numbers.

#include "framework/runtime/Event.h"

#include <cstdint>

namespace platform {
struct Message;
}

// 1 when the event is queued or merged, 0 when the pool is exhausted (the event is lost).
int32_t qelPostEvent(const qelEvent& event);
// Posts the quit event; when the pool is full, flushes the whole queue and posts again.
void qelPostQuit();
// Moves the first queued event whose type has a bit in the mask into `event`, waiting up to
// `timeoutMs` (negative: for ever) while pumping platform messages; the empty event (type 0, time
// now) when the time-out passes. The first call makes the pool and returns the empty event.
void qelGetEvent(qelEvent& event, int32_t mask, int32_t timeoutMs);
// Like qelGetEvent, but the matching event stays queued as it is; `event` receives a copy. It
// neither makes the pool nor counts as user input for the inactivity limit.
void qelPeekEvent(qelEvent& event, int32_t mask, int32_t timeoutMs);
// Removes every queued event whose type has a bit in the mask (-1: all).
void qelFlushEvents(int32_t mask);
// Spends `ms` milliseconds dispatching platform messages without taking framework events.
void qelWait(int32_t ms);
// Starts (or restarts) the framework timer, id 1 on the main window, with that period; each
// expiry becomes a timer-tick event. qelStopTimer stops it.
void qelStartTimer(int32_t ms);
void qelStopTimer();
// The framework timer's id: 1 while it runs, 0 when stopped.
int32_t qelTimerId();
// The period the framework timer was last started with.
int32_t qelTimerPeriod();
// Releases every queued event's values and frees the pool; the next use makes a new one.
void qelFreeEventQueue();
// One platform message: 1 when one was taken, -1 when the time-out (positive) passed first, 0 for
// the quit message. Waits for ever when the time-out is 0 or negative.
int32_t qelWaitMessage(platform::Message& message, int32_t timeoutMs);

// The platform clock in milliseconds (0 without a window layer).
uint32_t qelClockNow();

// The media layers' part in waiting: whether a movie is open (the queue then blocks in the
// platform's wait), and the poll that notices ended sounds, run between messages; it answers
// true while something plays that needs polling (waits are then cut into short slices).
using qelMovieOpenHook = bool (*)();
using qelMediaPollHook = bool (*)();
void qelSetMediaHooks(qelMovieOpenHook movieOpen, qelMediaPollHook mediaPoll);

// The node count of the pool (0 before it is made).
int32_t qelEventPoolSize();
