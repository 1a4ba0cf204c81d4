#pragma once

// What the environment asks of the active form (or modal dialog): the event operations its
// default handlers pass events on to, the conversion of window to form coordinates, and the
// loading and release of the form's resource table for compiling. The form classes implement
// this interface beside their object root; a form value whose object does not implement it
// receives nothing.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelFormEventProtocol {
public:
    virtual ~qelFormEventProtocol() = default;
    virtual void close() = 0;
    virtual void activate() = 0;
    virtual void deactivate() = 0;
    virtual void mouseMove(int32_t x, int32_t y, int32_t modifiers) = 0;
    virtual void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) = 0;
    virtual void mouseDrag(int32_t x, int32_t y, int32_t modifiers) = 0;
    virtual void mouseUp(int32_t x, int32_t y, int32_t modifiers) = 0;
    virtual void key(int32_t keyCode, int32_t modifiers) = 0;
    virtual void keyUp(int32_t keyCode, int32_t modifiers) = 0;
    virtual void tick() = 0;
    virtual void idle() = 0;
    virtual void mediaNotify(const qelValue& media, const qelValue& notice) = 0;
    virtual void notify(int32_t parameter) = 0;
    // Window coordinates to the form's own.
    virtual void globalToLocal(int32_t& x, int32_t& y) = 0;
    // The form's resource table, loaded when it is not yet; and its release.
    virtual qelValue loadResourceTable() = 0;
    virtual void releaseResourceTable() = 0;
};

// The interface of a form or control value's object, or null.
qelFormEventProtocol* qelFormEventsOf(const qelValue& form);
