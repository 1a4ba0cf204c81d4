#pragma once

// What the text screen (VLTextForm) and the text dialog (VLTextDialog) share: the reading of a
// hot text's link "type:target", the checks before a link opens a form, the status controls shown
// while copying and printing, and the plain text recovered from a rich text for the clipboard.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelFormObject;

namespace textpage {

// A link "type:target" split at its colons: the type, the target (empty when the link has no
// colon; further pieces are ignored), the target in lower case and its first two characters.
struct Link {
    qelValue type;
    qelValue target;
    qelValue lowerTarget;
    qelValue prefix;
};
Link splitLink(const qelValue& context);

// Whether the type is one of the nul-terminated list of names (compared byte for byte).
bool typeIn(const qelValue& type, const char* const* names);

// The message box of a link no rule knows: "Ação deconhecida: " type "[" target "]".
void unknownAction(const qelValue& type, const qelValue& target);

// Whether the name (lower case) is an infographic or map page the disk holds: an element of the
// resource list "ValidInfos" (a missing list holds nothing).
bool isValidInfo(const qelValue& lowerName);

// Whether navigation can open a form by this name: a registered form (a form value in the
// globals, or a resource of the active form). Going to any other name would end the program.
bool isKnownForm(const qelValue& name);

// The form data of a "Form;target" link, as openLink builds it: for "VerbeteForm" and
// "MidiasForm" {"Text": target lower-cased and trimmed, "FullList": true} and only with exactly
// two parts; for "AtlasForm" the target trimmed; nil data for any other form. `opens` is false
// when the link opens nothing.
struct LinkForm {
    bool opens = false;
    qelValue form;
    qelValue data;
};
LinkForm linkForm(const qelValue& link);

// The wait cursor, while a link opens or a text prints.
void setWaitCursor();

// Shows the status control loaded by the resource name ("Copiando", "Imprimindo") at once, or
// hides it again; a missing one is left alone.
void showStatus(const char* name);
void hideStatus(const char* name);

// The plain text of a rich text for the clipboard: the text and link runs in order, "\n" for each
// paragraph end; every other item (escaped characters, tabs, pictures) is left out.
qelValue plainText(const qelValue& rtf, const qelValue& font);

// The drop-cap letter a page's text starts with: the character just before the first ".bmp",
// when it stands at position 2 or later and follows a blank and that one character (" Q.bmp").
// Empty when there is none.
qelValue dropCapLetter(const qelValue& text);

// The clipboard text of a page: the title (when not nil) and two line breaks, then the drop-cap
// letter (when given), then the text, all as plain text; then puts it on the clipboard.
void copyToClipboard(const qelValue& title, const qelValue& text, const qelValue& letter, const qelValue& font);

// Prints the page's "Texto" control with the print attributes in `font`, the control's own font
// put back afterwards. The text printed is the attributes' "Text", else the control's.
void printText(const qelValue& control, const qelValue& attributes, const qelValue& font);

// Stops a video control ("VideoControl", "AnimControl") as the pages end a medium: disabled,
// stopped, closed.
void stopMediaControl(const qelValue& control);

// Whether the movie is the one the video control (a VideoView) plays.
bool controlPlays(const qelValue& control, const qelValue& movie);

// The file of a sound link: the media folder's "Sounds/" + name, the "AudioExtension" added when
// the name itself has no dot. Nil for a name that is empty or leads out of that folder ("/",
// "\\", "..").
qelValue linkSoundPath(const qelValue& name);

// The page's search dialogs: "SearchDlg" does nothing more than the wait cursor, "RecallDlg" runs
// that dialog, any other name is the error "Unknown Dialog".
void openSearchDialog(const qelValue& name);

// Performs the scrolling verb of the key on the page's "Texto" control, unless it is the form's
// active control (which has scrolled itself on the key already).
void scrollText(qelFormObject& page, int32_t key);

// The scrolling verb of a key ("Home", "End", "PageUp", "PageDown", "LineUp", "LineDown"), or
// nullptr.
const char* scrollVerb(int32_t key);

} // namespace textpage
