#include "framework/display/DisplayMakers.h"

#include "framework/display/Font.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/StringObject.h"

namespace {

qelValue makePolygon(int32_t left, int32_t top, int32_t right, int32_t bottom, const int32_t* xy, int32_t pointCount)
{
    // The points arrive with their closing copy of the first one, and with their box.
    std::vector<int32_t> points(xy, xy + 2 * size_t(pointCount > 0 ? pointCount : 0));
    return qelMakeObjectValue(QEL_REGION_TYPE, new qelRegionObject(left, top, right, bottom, std::move(points)));
}

bool regionFields(const qelValue& value, qelEncodedFields& fields)
{
    qelRegionObject* r = qelRegionOf(value);
    if (!r)
        return false;
    fields.ints[0] = r->left;
    fields.ints[1] = r->top;
    fields.ints[2] = r->right;
    fields.ints[3] = r->bottom;
    fields.points = r->points();
    return true;
}

bool fontFields(const qelValue& value, qelEncodedFields& fields)
{
    qelFontObject* f = qelFontOf(value);
    if (!f)
        return false;
    fields.values[0] = f->name;
    fields.ints[0] = f->size;
    fields.ints[1] = f->style;
    return true;
}

// Images store their kind's name and their data; a context image, whose data is a device
// context, is stored as the bitmap of its pixels.
bool imageFields(const qelValue& value, qelEncodedFields& fields)
{
    qelImageObject* image = qelImageOf(value);
    if (!image)
        return false;
    std::string kind = image->typeName();
    if (kind == "context") {
        fields.values[0] = qelStringValue("dib");
        fields.values[1] = image->bits();
    } else {
        fields.values[0] = qelStringValue(kind.c_str());
        fields.values[1] = image->data;
    }
    return true;
}

qelValue createImage(const qelValue& typeName, const qelValue& data)
{
    return qelImageObject::create(data, typeName);
}

} // namespace

void qelInstallDisplayMakers()
{
    qelMakerHooks& hooks = qelMakers();
    hooks.regionValue = qelRegionValue;
    hooks.polygonValue = makePolygon;
    hooks.fontValue = qelFontValue;
    hooks.imageCreate = createImage;
    hooks.regionFields = regionFields;
    hooks.fontFields = fontFields;
    hooks.imageFields = imageFields;
}
