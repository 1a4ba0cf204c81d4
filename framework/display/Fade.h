#pragma once

// Palette fades on a true-colour display. The 256-colour original faded by animating the
// palette entries 10..245 towards (or from) one colour with the weight k = elapsed x 128 / time
// and W = (A x (128 - k) + B x k) >> 7 per channel; since every shown pixel was palette[index],
// that is exactly a per-pixel blend of the shown picture with the colour. So the fades here
// leave the buffers alone while they run and blend at presentation: a layer over the media
// area shows (pixel x (128 - w) + colour x w) >> 7 with w going 0 -> 128 (fade out) or
// 128 -> 0 (fade in). The setting "EmulatePaletteFades" (true by default) can turn the blend
// off: the fades then keep their timing and end states only, as on the original's true-colour
// screens.
//
// Fades are paced by the platform clock: between frames the thread waits for the clock (the
// message pump keeps running, so paints and input are queued as usual), never spins. A time of
// 0 or less jumps to the end state.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelWindowObject;

// Fades the screen out to the colour (0x00BBGGRR) over `time` ms: at the end the offscreen
// buffer and the window's media area are filled with it, the port's colour is it, and the
// realized palette is the all-colour palette.
void qelPortFadeOut(qelWindowObject& port, int32_t color, int32_t time);
// Fades the offscreen picture in from the colour over `time` ms.
void qelPortFadeIn(qelWindowObject& port, int32_t color, int32_t time);

// The all-colour palette of a fade: the system palette with entries 10..245 set to the colour.
qelValue qelFadePalette(int32_t color);
// Whether screens fade: a palette display, or the blend at presentation when it is on.
int32_t qelCanFadeDisplay();

// Waits, pumping platform messages, until the platform clock reaches the deadline (returns at
// once without a window layer).
void qelPaceUntil(uint32_t deadline);
