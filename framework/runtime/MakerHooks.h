#pragma once

// The makers through which the binary decoder and the text notation reader build values whose
// objects belong to other parts of the framework: regions, fonts, text maps, images, sounds,
// controls, forms, references and dates, plus the resource loads of the text notation.
//
// Each part fills in its own hooks when it starts (qelMakers().fontValue = ...). Until it does,
// the default makers keep the fields in plain holder objects (Holder.h) that print and encode
// back to the same bytes, so tools and tests read and write every stored form without those parts.
//
// The encoder reads such values through their fields: a holder answers them itself; a real object
// answers through the type's `...Fields` hook, filled in by its part.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <vector>

// The stored fields of one of those values, in the order the binary encoding writes them.
//   region     ints: left, top, right, bottom; points: x, y pairs ending with a copy of the
//              first point (empty for a rectangle or a point)
//   font       values[0]: the name (a string, or nil); ints: size, style
//   text map   ints: the two int32 fields; values: the two value fields
//   image      values: the type name (a string), the data
//   sound      values: the type name, the source (a buffer or a file name); ints[0]: in-memory flag
//   control    values[0]: the property table;  form: values[0]: the data table
//   reference  values[0]: the resource name
//   date       ints: the date word, the time word
struct qelEncodedFields {
    int32_t ints[4] {};
    qelValue values[2];
    std::vector<int32_t> points;
};

using qelFieldsReader = bool (*)(const qelValue& value, qelEncodedFields& fields);

struct qelMakerHooks {
    // Regions: a rectangle or point (no points), or a polygon whose xy array holds pointCount
    // points, the last a copy of the first, within the given box.
    qelValue (*regionValue)(int32_t left, int32_t top, int32_t right, int32_t bottom);
    qelValue (*polygonValue)(
        int32_t left, int32_t top, int32_t right, int32_t bottom, const int32_t* xy, int32_t pointCount);
    qelValue (*fontValue)(const qelValue& name, int32_t size, int32_t style);
    qelValue (*textMapValue)(int32_t width, int32_t height, const qelValue& first, const qelValue& second);
    // An image from its type name and data (the decoder's image maker).
    qelValue (*imageCreate)(const qelValue& typeName, const qelValue& data);
    // A sound holding its data in a buffer, and a sound over a file name (the stored type name is
    // passed along; a real sound may take it from the file instead).
    qelValue (*makeSoundValue)(const qelValue& typeName, const qelValue& buffer);
    qelValue (*makeSound)(const qelValue& typeName, const qelValue& fileName);
    qelValue (*makeControl)(const qelValue& table);
    qelValue (*makeFormFromData)(const qelValue& table);
    qelValue (*makeReference)(const qelValue& name);
    qelValue (*dateValue)(uint32_t dateWord, uint32_t timeWord);

    // The text notation's makers.
    qelValue (*dateFromTable)(const qelValue& table);
    qelValue (*loadImageResource)(const qelValue& name);
    qelValue (*loadFileBuffer)(const qelValue& name, int32_t textMode);
    qelValue (*loadSoundResource)(const qelValue& name, int32_t inMemory);

    // The encoder's readers of real objects, one per type.
    qelFieldsReader regionFields;
    qelFieldsReader fontFields;
    qelFieldsReader textMapFields;
    qelFieldsReader imageFields;
    qelFieldsReader soundFields;
    qelFieldsReader controlFields;
    qelFieldsReader formFields;
    qelFieldsReader referenceFields;
    qelFieldsReader dateFields;
};

// The process-wide hooks, starting with the holder makers.
qelMakerHooks& qelMakers();
// Puts every hook back to its default (tests).
void qelResetMakers();

// The fields of a value of one of the types above: from a holder, or through the type's reader.
// False when the value has no fields to give (a null object, or no reader for a real object).
bool qelFieldsOf(const qelValue& value, qelEncodedFields& fields);
