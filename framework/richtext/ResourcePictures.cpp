#include "framework/richtext/TextLayout.h"

#include "framework/runtime/Resource.h"

// Kept apart from the layout so that programs and tests that never load resources do not need
// the resource loader.
void qelUseResourcePictures()
{
    qelSetPictureLoader(qelLoadResource);
}
