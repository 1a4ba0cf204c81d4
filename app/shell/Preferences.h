#pragma once

// The user's preferences: the table "Preferences" of the global resource "GlobalTable", kept in
// the user folder's PREFS.DAT as one encoded value. Loading applies the stored volume and the
// seven switches as persistent settings; with no file (or a damaged one, which is set aside) the
// shipped table stays and nothing is applied. Saving happens on a full installation only.

#include "framework/runtime/Value.h"

// The path of PREFS.DAT in the user folder.
qelValue preferencesPath();
void loadPreferences();
// False after the warning box when the file could not be written.
bool savePreferences();
