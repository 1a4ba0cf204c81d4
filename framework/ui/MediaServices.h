#pragma once

// What media forms and media dialogs share: the tab order, the screen's sound, narration, the
// help file and the table of disabled menu items.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <functional>

class qelFormObject;

// Tab through the form's "TabStopList" (Shift+Tab backwards). A control that is not in the list
// hands the focus to the list's first element; otherwise the next element after the active
// control, wrapping round, and with `skipUnavailable` passing over elements whose "Disabled" or
// "Hidden" is true. False when the form has no list or an empty one: the key is then the form's
// like any other.
bool qelTabToNextStop(qelFormObject& form, int32_t modifiers, bool skipUnavailable);
// Gives the focus to the first element of a non-empty "TabStopList".
void qelActivateFirstTabStop(qelFormObject& form);

// The sound a screen plays: a name without "." gets "." + "AudioExtension" and is loaded as a
// resource; any other value is resolved. What is not a sound then gives nil, so that a screen
// never keeps, and later stops, a value that is not one.
qelValue qelScreenSound(const qelValue& sound);
// Stops what plays, then plays the sound once or looped; 0 when it is not a sound.
int32_t qelStartScreenSound(const qelValue& sound, int32_t loop);
// Stops the screen's sound, if any, and forgets it.
void qelStopScreenSound(qelValue& sound);

// Narration: the property "<form name>AudioHelp" is played once per user while "SoundEffects"
// and "PlayNarrator" are on, remembered by the persistent setting "<form name>Narrator"; with
// `force` it plays whatever the settings. `play` is the form's playSound.
void qelNarrateForm(qelFormObject& form, int32_t force, const std::function<int32_t(const qelValue&, int32_t)>& play);

// The help file: the application's short name + ".hlp" in the program's folder, else in the
// folder of "SourceDisk". Opened at the topic through qelShowHelp.
qelValue qelApplicationHelpFile();
void qelShowApplicationHelp(int32_t topic);

// The menu items switched off per menu: the resource "DisabledMenuItemsTable" maps a menu name to
// a table of item texts whose value is true.
void qelDisableMenuItem(const qelValue& menu, const qelValue& item);
void qelEnableMenuItem(const qelValue& menu, const qelValue& item);
