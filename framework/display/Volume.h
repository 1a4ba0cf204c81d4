#pragma once

// The wave and MIDI output volume on the scale 0..range, where range is the integer setting
// "Volume Range" (100 by default; a range of 0 or less counts as 100). A channel's word is
// 0..65535; a volume outside 0..range is brought into it, so it never spills into the other
// channel.

#include <cstdint>

// The wave output's volume: the mean of its two channels x range / 65535; -1 when it cannot
// be read.
int32_t qelGetVolume();
// Sets both channels of the wave and MIDI outputs to volume x 65535 / range; true when the
// MIDI output took it.
bool qelSetVolume(int32_t volume);
