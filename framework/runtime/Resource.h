#pragma once

// Resources: values named by a string such as "MainForm" or "fundo.bmp". Loading a name consults
// the active form's properties, then the globals, then a file of the media folder whose
// lower-case extension says how it is read:
//
//   extension                    type          read as
//   avi                          20 movie      a movie opened on the file
//   bmp dib jpg pic rle          18 image      the bytes made into an image ("jpg", "pic": JPEG)
//   etn                          5             decoded with the binary encoding
//   frm lst tbl txt              6             parsed as the text notation
//   wav mid                      19 sound      a sound over the file
//
// Nothing is cached: each load of a file reads it again. References (type 26) stand for a
// resource by name and are loaded on each use. A name that leads back to itself (a reference
// to its own name, a chain of names through the globals) is followed 16 steps deep and then
// gives nil, never an endless loop.
//
// "TraceResourceLoads" announces every file load in a box; with "ResourceFatal" a resource that
// cannot be loaded is the error "Cannot load resource: " + name.

#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

#include <cstdint>

// A reference: the name of a resource, loaded when the reference is used.
class qelReferenceObject final : public qelObject, public qelReferenceProtocol {
public:
    explicit qelReferenceObject(const qelValue& name)
        : name(name)
    {
    }
    qelValue resolve() override;

    qelValue name;
};

qelValue qelLoadResource(const qelValue& nameOrReference);
// While the value is a reference, replaces it by the load of its name.
qelValue qelResolve(const qelValue& value);
qelValue qelMakeReference(const qelValue& name);
// The name a reference value holds (nil for anything else).
qelValue qelReferenceName(const qelValue& reference);

// Builds the resource-type table afresh (lower-case extension -> type code) and answers it.
qelValue qelResourceTypes();
// "." without a current environment; else "SourceDisk" (default "") joined with "MediaPath"
// (default ".").
qelValue qelMediaPath();
// The whole file in a buffer (read with the mode's bits plus the read bit), nil when it cannot be
// opened or read. A NUL follows the bytes, so text readers stop at the end.
qelValue qelLoadFileBuffer(const qelValue& fileName, int32_t mode);
// Loads until the value is an image (or a sound, with a nonzero flag) or nothing more can be
// loaded. With the flag 0 the sound loader is a plain load.
qelValue qelLoadImageResource(const qelValue& nameOrValue);
qelValue qelLoadSoundResource(const qelValue& nameOrValue, int32_t inMemory);
// The resolved name joined to the media folder, opened as a movie.
qelValue qelLoadMovieResource(const qelValue& name, int32_t fullScreen);

// Forms defined by compiled resource files: the located "<fileBase>.etn" becomes a reference,
// made into a form class and stored in the globals under the name. The plain version uses the
// name as the class name and gives the form no name of its own.
void qelRegisterResourceClass(const qelValue& name, const qelValue& fileBase);
void qelRegisterResourceClassEx(const qelValue& name, const qelValue& className, const qelValue& fileBase);
// Writes a form's resource table, or the table "<tableName>.tbl", encoded into
// "<fileBase>.etn" (lower case) in "ResourcePath", or the media folder when it is unset.
void qelLoadEtnResource(const qelValue& formName, const qelValue& fileBase);
void qelLoadTableResource(const qelValue& tableName, const qelValue& fileBase);

// The prototype registered under the class name, or null.
class qelNamedObject;
qelNamedObject* qelClassPrototype(const qelValue& className);

// Installs the makers through which decoded references and the text notation's resource forms
// reach this loader (done by the environment's constructor).
void qelInstallResourceMakers();
