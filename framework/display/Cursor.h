#pragma once

// Cursors (type 12): framework values around a platform cursor. One cursor is current at a
// time; the window procedure applies it again whenever the platform asks the window for its
// cursor. The program's cursor resources are cursor files in the "cursors" folder of the program
// folder, named by their resource id ("cursors/102.cur" is the hand, "cursors/104.cur" the key);
// its icon lies beside them ("cursors/101.ico").

#include "framework/runtime/Value.h"

#include <cstdint>
#include <string>

class qelCursorObject : public qelObject {
public:
    qelCursorObject(const qelValue& handle, int32_t owned)
        : handle(handle)
        , owned(owned)
    {
    }
    // Destroys the platform cursor when it is owned; the standard cursors are shared and stay.
    ~qelCursorObject() override;

    // The platform cursor handle as an int value (nil for a cursor that failed to load).
    qelValue handle;
    int32_t owned = 0;
};

// The path of the program's resource file with that id and extension ("cur", "ico") in the
// "cursors" folder of the program folder.
std::string qelProgramResourcePath(int32_t id, const char* extension);

// The cursor resource with that id (its low 16 bits). A missing one gives a cursor holding nil
// after the error "Cannot find cursor resource: " + id.
qelValue qelCursorFromResource(int32_t id);
// The platform's standard cursors, not owned.
qelValue qelArrowCursor();
qelValue qelIBeamCursor();
qelValue qelWaitCursor();
// Makes the cursor current (nil: the arrow) and returns the previous current cursor. Whether an
// unchanged cursor is applied again depends on "DisableDrawingAttributeCaching", read at the
// first call: with it true, a cursor is applied only when its handle changes.
qelValue qelSetCursor(const qelValue& cursor);
// The current cursor's platform handle (0: none yet).
uint32_t qelCurrentCursorHandle();
// Releases the current cursor and forgets the setting read at the first call (at shut-down).
void qelReleaseCursors();
