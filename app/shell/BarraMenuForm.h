#pragma once

// The screen with the almanac's menu bar: the main menu, the section homes, the database's
// result tables and, through VLTextForm, every text and media page. Its controls answer by
// "Name" (home, section menu, search, marks, back, history, internet, help, minimise, quit).

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaFormObject.h"

class BarraMenuForm : public qelMediaFormObject {
    VELARIM_CLASS(BarraMenuForm, qelMediaFormObject)
};
