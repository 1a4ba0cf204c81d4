#include "framework/display/Geometry.h"

#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/MakerHooks.h"

namespace {

enum class Side { Left, Top, Width, Height };

const char* signatureOf(Side side)
{
    switch (side) {
    case Side::Left:
        return "qelLeft(ctrlFrmMov)";
    case Side::Top:
        return "qelTop(ctrlFrmMov)";
    case Side::Width:
        return "qelWidth(imgMovTxtRgn)";
    case Side::Height:
        return "qelHeight(imgMovTxtRgn)";
    }
    return "";
}

int32_t fromProtocol(qelGeometryProtocol& g, Side side)
{
    switch (side) {
    case Side::Left:
        return g.geometryLeft();
    case Side::Top:
        return g.geometryTop();
    case Side::Width:
        return g.geometryWidth();
    case Side::Height:
        return g.geometryHeight();
    }
    return 0;
}

int32_t measure(const qelValue& value, Side side)
{
    bool size = side == Side::Width || side == Side::Height;
    switch (value.type()) {
    case QEL_REGION_TYPE: {
        if (qelRegionObject* r = qelRegionOf(value)) {
            switch (side) {
            case Side::Left:
                return r->left;
            case Side::Top:
                return r->top;
            case Side::Width:
                return int32_t(uint32_t(r->right) - uint32_t(r->left));
            case Side::Height:
                return int32_t(uint32_t(r->bottom) - uint32_t(r->top));
            }
        }
        // A region kept by the encoding layer alone answers from its stored box.
        qelEncodedFields f;
        if (!qelFieldsOf(value, f))
            return 0;
        switch (side) {
        case Side::Left:
            return f.ints[0];
        case Side::Top:
            return f.ints[1];
        case Side::Width:
            return int32_t(uint32_t(f.ints[2]) - uint32_t(f.ints[0]));
        case Side::Height:
            return int32_t(uint32_t(f.ints[3]) - uint32_t(f.ints[1]));
        }
        return 0;
    }
    case QEL_TEXTMAP_TYPE:
        if (size) {
            qelEncodedFields f;
            if (!qelFieldsOf(value, f))
                return 0;
            return side == Side::Width ? f.ints[0] : f.ints[1];
        }
        break;
    case QEL_IMAGE_TYPE:
        if (size) {
            qelImageObject* image = qelImageOf(value);
            if (!image)
                return 0;
            return side == Side::Width ? image->width() : image->height();
        }
        break;
    case QEL_MOVIE_TYPE:
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE: {
        auto* g = dynamic_cast<qelGeometryProtocol*>(value.object());
        return g ? fromProtocol(*g, side) : 0;
    }
    default:
        break;
    }
    qelArgTypeError(signatureOf(side), 1);
    return 0;
}

} // namespace

int32_t qelLeft(const qelValue& value)
{
    return measure(value, Side::Left);
}

int32_t qelTop(const qelValue& value)
{
    return measure(value, Side::Top);
}

int32_t qelWidth(const qelValue& value)
{
    return measure(value, Side::Width);
}

int32_t qelHeight(const qelValue& value)
{
    return measure(value, Side::Height);
}
