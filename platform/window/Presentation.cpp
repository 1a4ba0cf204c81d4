#include "platform/window/Presentation.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

    struct Entry {
        PresentationLayer* layer;
        int rank;
    };

    std::vector<Entry>& layers()
    {
        static std::vector<Entry> entries;
        return entries;
    }

    gfx::Surface& scratch()
    {
        static gfx::Surface surface;
        return surface;
    }

} // namespace

void addPresentationLayer(PresentationLayer* layer, int rank)
{
    removePresentationLayer(layer);
    auto& entries = layers();
    auto at = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.rank > rank; });
    entries.insert(at, { layer, rank });
}

void removePresentationLayer(PresentationLayer* layer)
{
    std::erase_if(layers(), [&](const Entry& e) { return e.layer == layer; });
}

const gfx::Surface& composePresentation(const gfx::Surface& front, gfx::Rect& dirty)
{
    auto& entries = layers();
    if (std::none_of(entries.begin(), entries.end(), [](const Entry& e) { return e.layer->active(); }))
        return front;
    gfx::Surface& shown = scratch();
    shown = front;
    for (const Entry& e : entries) {
        if (e.layer->active())
            e.layer->compose(shown, dirty);
    }
    dirty = dirty.intersected(shown.bounds());
    return shown;
}

} // namespace platform
