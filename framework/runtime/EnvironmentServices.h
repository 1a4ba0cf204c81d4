#pragma once

// The services of the display, media and form layers that the environment calls: the main window,
// cursors, the media to stop at shut-down, the volume, going to a form, making form classes,
// movies and help. Those layers sit above the runtime, so they fill in these hooks when the
// program starts (the program's start-up installs them); until then the defaults below stand in:
// - creating the main window only posts the start event (which a real window's creation does)
//   and gives nil;
// - going to a form loads the form's resource by name and makes the loaded value the active form;
// - a form class is a form value over a table holding "Class", "Resource" and "Name";
// - every other service does nothing and gives nil or 0.

#include "framework/runtime/Value.h"

#include <cstdint>

struct qelEnvironmentServices {
    // The main window (a window value): made (which posts the start event), shown at its place,
    // destroyed; and its platform handle.
    qelValue (*createMainWindow)();
    void (*placeMainWindow)(const qelValue& window);
    void (*destroyMainWindow)(const qelValue& window);
    uint32_t (*windowHandle)(const qelValue& window);

    // Makes the cursor current (nil: the arrow) and answers the previous one; the wait cursor;
    // the program's cursor resource with that id.
    qelValue (*setCursor)(const qelValue& cursor);
    qelValue (*waitCursor)();
    qelValue (*cursorFromResource)(int32_t id);

    // Shut-down of the media: every open movie closed, the current sound stopped, the port's
    // font back to the default.
    void (*closeAllMovies)();
    void (*stopCurrentSound)();
    void (*resetDefaultFont)();
    // The audio volume, read at set-up and restored at shut-down.
    int32_t (*audioVolume)();
    void (*setAudioVolume)(int32_t volume);

    // Navigation: closes the current form and opens the one named, with the data.
    void (*goToForm)(const qelValue& name, const qelValue& data);
    // A form-class value for a form defined by a resource table (a reference to its file).
    qelValue (*makeForm)(const qelValue& className, const qelValue& resourceTable, const qelValue& name);
    // A movie opened on a file, with its lower-case extension.
    qelValue (*movieFromFile)(const qelValue& path, const qelValue& extension, int32_t fullScreen);

    // Help on the main window: a topic (0 or more) or the index (negative); closing help.
    int32_t (*showHelp)(const qelValue& helpFile, int32_t topic);
    void (*helpQuit)();
};

// The process-wide services, starting with the defaults.
qelEnvironmentServices& qelServices();
// Puts every service back to its default (tests).
void qelResetServices();
