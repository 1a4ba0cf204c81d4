#pragma once

// "Scroll Offset": the almanac's list boxes move the parts of their scroll bar after the list box
// has laid them out, so that a scroll bar drawn into the screen's picture lines up with them.

#include <cstdint>

class AbstractListBox;

// The three integers of the box's "Scroll Offset"; false when it is absent, not a list or
// shorter than three (the offset is then ignored).
bool readScrollOffset(AbstractListBox& box, int32_t& a, int32_t& b, int32_t& c);
// The up arrow moved by (dx, dyUp), the down arrow by (dx, dyDown), the scroll bar's area by
// (dx, dyUp) and made `grow` pixels taller. Widths stay; parts the box lacks stay absent.
void moveScrollParts(AbstractListBox& box, int32_t dx, int32_t dyUp, int32_t dyDown, int32_t grow);
