#pragma once

// Layers laid over the window's front buffer when it is presented, never drawn into it: what
// the program draws, and reads back from the front buffer, stays free of them; only the shown
// image carries them (the movie pictures over the media area, for one).
//
// Layers are process-wide and composed in the order of their rank, lowest first.

#include "platform/gfx/Surface.h"

namespace platform {

class PresentationLayer {
public:
    virtual ~PresentationLayer() = default;
    // Whether the layer has anything to draw now.
    virtual bool active() const = 0;
    // Draws over `shown` (a copy of the front buffer) and widens `dirty` by what it covers.
    virtual void compose(gfx::Surface& shown, gfx::Rect& dirty) = 0;
};

void addPresentationLayer(PresentationLayer* layer, int rank);
void removePresentationLayer(PresentationLayer* layer);

// The image to present for the front buffer: the front buffer itself while no layer is active,
// else a copy with the active layers over it (`dirty` widened as they say).
const gfx::Surface& composePresentation(const gfx::Surface& front, gfx::Rect& dirty);

} // namespace platform
