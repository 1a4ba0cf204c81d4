#pragma once

// The base of the almanac's dialogs that show rich text ("Texto") with links.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class VLTextDialog : public qelMediaDialogObject {
    VELARIM_CLASS(VLTextDialog, qelMediaDialogObject)
};
