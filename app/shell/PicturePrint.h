#pragma once

// The one-page picture print shared by the media viewer, the atlas and the infographic pages: the
// "Imprimindo" status shown while it runs, a header line right-aligned over a rule, the picture
// (cut to the form's "PrintingRect" when it has one) scaled to fit between header and footer
// and centred, and a footer rule over the footer text and "Página 1". Fonts, margins and the
// rule's width come from the "Print..." resources, read at each print.

#include "framework/runtime/Value.h"

class qelFormObject;

struct PicturePage {
    // The print job's name: "VL98 - Midias", "VL98 - Mapa", "VL99 - Infográfico".
    const char* documentName = "";
    // The header line: "Velarim 98 - " and the item's name.
    qelValue headerText;
    // Put before "Página <n>" in the footer (the atlas's notice and six blanks); nil for none.
    qelValue footerPrefix;
    // The picture to print; anything that is not an image gives a page with header and footer only.
    qelValue picture;
};

// Prints the page for the form (which gives "PrintingRect"). Nothing is printed when the print
// job cannot start; the status then stays shown, as the print services report the failure.
void printPicturePage(qelFormObject& form, const PicturePage& page);
