#pragma once

// The event record: what the window procedure and a few framework operations post into the event
// queue, and what the main loop and every nested loop take out of it.

#include "framework/runtime/Value.h"

#include <cstdint>

// Event bits. An event's type holds exactly one of them (0 is the empty event of a time-out).
constexpr int32_t QEL_START_EVENT = 0x1;
constexpr int32_t QEL_QUIT_EVENT = 0x2;
constexpr int32_t QEL_FOCUS_GAINED_EVENT = 0x4;
constexpr int32_t QEL_FOCUS_LOST_EVENT = 0x8;
constexpr int32_t QEL_MOUSE_MOVE_EVENT = 0x10;
constexpr int32_t QEL_MOUSE_DOWN_EVENT = 0x20;
constexpr int32_t QEL_DRAG_EVENT = 0x40;
constexpr int32_t QEL_MOUSE_UP_EVENT = 0x80;
constexpr int32_t QEL_KEY_DOWN_EVENT = 0x100;
constexpr int32_t QEL_KEY_UP_EVENT = 0x200;
constexpr int32_t QEL_TICK_EVENT = 0x400;
constexpr int32_t QEL_NOTIFY_EVENT = 0x800;
constexpr int32_t QEL_USER_MESSAGE_EVENT = 0x1000;
constexpr int32_t QEL_MEDIA_NOTICE_EVENT = 0x2000;
constexpr int32_t QEL_COMMAND_EVENT = 0x8000;
constexpr int32_t QEL_INACTIVITY_EVENT = 0x40000;
constexpr int32_t QEL_ALL_EVENTS = -1;

// Modifier bits.
constexpr int32_t QEL_SHIFT_KEY = 1;
constexpr int32_t QEL_CONTROL_KEY = 2;
constexpr int32_t QEL_ALT_KEY = 4;
constexpr int32_t QEL_LEFT_BUTTON = 8;

// Passed and copied by value: a copy adds references to the two values, destruction releases
// them.
struct qelEvent {
    int32_t type = 0;
    // Milliseconds of the platform clock when the event was made (it wraps every 49.7 days).
    int32_t time = 0;
    // Shift 1, control 2, alt 4, left button 8; the notify event carries its parameter here.
    int32_t modifiers = 0;
    // Pointer position in window coordinates.
    int32_t x = 0;
    int32_t y = 0;
    // The key code, the click count of a mouse-down, or an int parameter.
    int32_t key = 0;
    qelValue a;
    qelValue b;
};

// The empty event with that time.
qelEvent qelNullEvent(int32_t time);
