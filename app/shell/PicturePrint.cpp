#include "app/shell/PicturePrint.h"

// Filled in with the media viewer's printing.
void printPicturePage(qelFormObject&, const PicturePage&) { }
