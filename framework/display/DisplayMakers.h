#pragma once

// Installs the display's makers into the value layer's hooks, so that the binary decoder and
// the text notation reader make real region, font and image values, and the encoder reads
// their fields back.
void qelInstallDisplayMakers();
