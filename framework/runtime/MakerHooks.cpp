#include "framework/runtime/MakerHooks.h"

#include "framework/runtime/Date.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/Holder.h"
#include "framework/runtime/StringObject.h"

#include <string>

namespace {

// The fields of a region held for a later maker: its bounds, as both rectangles and polygons keep them.
qelEncodedFields regionBounds(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    qelEncodedFields f;
    f.ints[0] = left;
    f.ints[1] = top;
    f.ints[2] = right;
    f.ints[3] = bottom;
    return f;
}

qelValue holdRegion(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return qelMakeHolderValue(QEL_REGION_TYPE, regionBounds(left, top, right, bottom));
}

qelValue holdPolygon(int32_t left, int32_t top, int32_t right, int32_t bottom, const int32_t* xy, int32_t pointCount)
{
    qelEncodedFields f = regionBounds(left, top, right, bottom);
    f.points.assign(xy, xy + 2 * size_t(pointCount));
    return qelMakeHolderValue(QEL_REGION_TYPE, std::move(f));
}

qelValue holdFont(const qelValue& name, int32_t size, int32_t style)
{
    qelEncodedFields f;
    f.values[0] = name;
    f.ints[0] = size;
    f.ints[1] = style;
    return qelMakeHolderValue(QEL_FONT_TYPE, std::move(f));
}

qelValue holdTextMap(int32_t width, int32_t height, const qelValue& first, const qelValue& second)
{
    qelEncodedFields f;
    f.ints[0] = width;
    f.ints[1] = height;
    f.values[0] = first;
    f.values[1] = second;
    return qelMakeHolderValue(QEL_TEXTMAP_TYPE, std::move(f));
}

qelValue holdTwo(int32_t type, const qelValue& first, const qelValue& second, int32_t flag)
{
    qelEncodedFields f;
    f.values[0] = first;
    f.values[1] = second;
    f.ints[0] = flag;
    return qelMakeHolderValue(type, std::move(f));
}

qelValue holdImage(const qelValue& typeName, const qelValue& data)
{
    return holdTwo(QEL_IMAGE_TYPE, typeName, data, 0);
}

qelValue holdSoundInMemory(const qelValue& typeName, const qelValue& buffer)
{
    return holdTwo(QEL_SOUND_TYPE, typeName, buffer, 1);
}

qelValue holdSoundFile(const qelValue& typeName, const qelValue& fileName)
{
    return holdTwo(QEL_SOUND_TYPE, typeName, fileName, 0);
}

qelValue holdControl(const qelValue& table)
{
    return holdTwo(QEL_CONTROL_TYPE, table, qelNil, 0);
}

qelValue holdForm(const qelValue& table)
{
    return holdTwo(QEL_FORM_TYPE, table, qelNil, 0);
}

qelValue holdReference(const qelValue& name)
{
    return holdTwo(QEL_REFERENCE_TYPE, name, qelNil, 0);
}

// Dates are the runtime's own objects.
bool dateFields(const qelValue& value, qelEncodedFields& fields)
{
    qelDateObject* date = qelDateOf(value);
    if (!date)
        return false;
    fields.ints[0] = int32_t(date->dateWord);
    fields.ints[1] = int32_t(date->timeWord);
    return true;
}

// Without the resource loader there is nothing to load from: the load fails as a missing resource.
qelValue noResource(const qelValue& name)
{
    std::string message = "Cannot load resource: ";
    message += qelCString(name);
    qelError(message.c_str());
    return qelNil;
}

qelValue noImageResource(const qelValue& name)
{
    return noResource(name);
}

qelValue noFileResource(const qelValue& name, int32_t)
{
    return noResource(name);
}

qelValue noSoundResource(const qelValue& name, int32_t)
{
    return noResource(name);
}

qelMakerHooks defaultMakers()
{
    qelMakerHooks hooks {};
    hooks.regionValue = holdRegion;
    hooks.polygonValue = holdPolygon;
    hooks.fontValue = holdFont;
    hooks.textMapValue = holdTextMap;
    hooks.imageCreate = holdImage;
    hooks.makeSoundValue = holdSoundInMemory;
    hooks.makeSound = holdSoundFile;
    hooks.makeControl = holdControl;
    hooks.makeFormFromData = holdForm;
    hooks.makeReference = holdReference;
    hooks.dateValue = qelMakeDateFromWords;
    hooks.dateFromTable = qelDateFromTable;
    hooks.loadImageResource = noImageResource;
    hooks.loadFileBuffer = noFileResource;
    hooks.loadSoundResource = noSoundResource;
    hooks.dateFields = dateFields;
    return hooks;
}

qelMakerHooks& makers()
{
    static qelMakerHooks hooks = defaultMakers();
    return hooks;
}

} // namespace

qelMakerHooks& qelMakers()
{
    return makers();
}

void qelResetMakers()
{
    makers() = defaultMakers();
}

bool qelFieldsOf(const qelValue& value, qelEncodedFields& fields)
{
    if (!value.object())
        return false;
    if (const qelHolderObject* holder = qelHolderOf(value)) {
        fields = holder->fields();
        return true;
    }
    const qelMakerHooks& hooks = makers();
    qelFieldsReader reader = nullptr;
    switch (value.type()) {
    case QEL_REGION_TYPE:
        reader = hooks.regionFields;
        break;
    case QEL_FONT_TYPE:
        reader = hooks.fontFields;
        break;
    case QEL_TEXTMAP_TYPE:
        reader = hooks.textMapFields;
        break;
    case QEL_IMAGE_TYPE:
        reader = hooks.imageFields;
        break;
    case QEL_SOUND_TYPE:
        reader = hooks.soundFields;
        break;
    case QEL_CONTROL_TYPE:
        reader = hooks.controlFields;
        break;
    case QEL_FORM_TYPE:
        reader = hooks.formFields;
        break;
    case QEL_REFERENCE_TYPE:
        reader = hooks.referenceFields;
        break;
    case QEL_DATE_TYPE:
        reader = hooks.dateFields;
        break;
    default:
        break;
    }
    return reader && reader(value, fields);
}
