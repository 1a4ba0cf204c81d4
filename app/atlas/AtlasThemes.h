#pragma once

// The atlas's thematic pages and videos, chosen by name from the home screen's pop-up menus and
// from the map page's category menu:
//
//   "Sistema"             video an0055.avi        "Climas e Correntes"  video an0058.avi (played
//   "Clima"               page mbclima                                  until stopped)
//   "Hidrografia"         page mbhidro            "Ecológico"           page mdecolo
//   "Regiões"             page mbregio            "MPolítico"           page mdmundi
//   "Relevo"              page mbrelev
//   "Vegetação"           page mbveget2
//   "Político"            page mbpolit
//
// Names are compared exactly (case and accents as written); any other name is a map's.

#include "framework/runtime/Value.h"

class qelMediaFormObject;

struct AtlasTheme {
    // The info page to open, or nullptr.
    const char* infoPage = nullptr;
    // The video to play, or nullptr.
    const char* video = nullptr;
    // The video plays until the user stops it.
    bool untilStopped = false;
};

// The theme of a menu choice's text; both fields nullptr when the text names a map.
AtlasTheme atlasTheme(const qelValue& text);

// Opens the info page when "ValidInfos" lists its lower-case name (and the page is a registered
// form); otherwise nothing, without a message.
void atlasShowInfoPage(qelMediaFormObject& form, const qelValue& name);

// Plays the video in the form's "VideoControl", looping when "LoopingVideos" lists its lower-case
// name; nothing while the setting "MPEG" is on or when the form has no video control. True when
// it started.
bool atlasPlayVideo(qelMediaFormObject& form, const qelValue& name, bool untilStopped);

// Stops the video control and lets its movie go (a click on the playing video).
void atlasStopVideo(const qelValue& videoControl);
