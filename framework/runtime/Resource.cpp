#include "framework/runtime/Resource.h"

#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextNotation.h"

namespace {

// How many loads may be under way inside one another. A name bound to a reference to itself,
// or a ring of such names, would otherwise load for ever; past this depth the load gives nil.
constexpr int32_t maximumLoadDepth = 16;
int32_t loadDepth = 0;

qelValue resourceTypes;

qelValue typeTable()
{
    if (resourceTypes.isNil())
        qelResourceTypes();
    return resourceTypes;
}

// With "ResourceFatal", a resource that cannot be loaded ends the program.
qelValue checked(const qelValue& result, const qelValue& name)
{
    if (result.isNil() && qelGetBoolSetting("ResourceFatal", 0))
        qelError("Cannot load resource: " + (name.isString() ? name : qelValue("")));
    return result;
}

qelValue readFile(const qelValue& path, const qelValue& extension, int32_t type)
{
    qelMakerHooks& makers = qelMakers();
    switch (type) {
    case QEL_MOVIE_TYPE:
        return qelServices().movieFromFile(path, extension, 0);
    case QEL_IMAGE_TYPE: {
        qelValue buffer = qelLoadFileBuffer(path, 0);
        if (buffer.isNil())
            return qelNil;
        bool jpeg = extension == "jpg" || extension == "pic";
        return makers.imageCreate(jpeg ? "jpg" : "dib", buffer);
    }
    case QEL_OBJECT_TYPE: {
        qelValue stream = qelOpenFileStream(path, qelFileStream::Readable, 1);
        return stream.isNil() ? qelNil : qelDecode(stream);
    }
    case QEL_STRING_TYPE: {
        qelValue buffer = qelLoadFileBuffer(path, 0);
        return buffer.isNil() ? qelNil : qelDecodeText(buffer);
    }
    case QEL_SOUND_TYPE:
        return makers.makeSound(extension, path);
    default:
        return qelNil;
    }
}

// Step 3 of a load: the file of the media folder named by the name, read by its extension.
qelValue loadFile(const qelValue& name)
{
    if (!name.isString())
        return qelNil;
    qelValue extension = qelLowerCase(qelExtension(qelFileNamePart(name)));
    qelValue type = qelGet(typeTable(), extension);
    if (type.type() != QEL_INT_TYPE)
        return qelNil;
    qelValue path = qelPathJoin(qelMediaPath(), name);
    if (qelGetBoolSetting("TraceResourceLoads", 0))
        qelMessageBox("Loading resource: " + path + "\n");
    if (!qelLocatedFileExists(path)) {
        // A name that carries its own folder (a path the locator gave) is read where it points
        // when the media folder does not hold it: a relative media folder would otherwise be
        // put in front of a path that already starts with it.
        if (qelDirectoryPart(name) == "" || !qelLocatedFileExists(name))
            return qelNil;
        path = name;
    }
    return readFile(path, extension, type.payload());
}

bool referenceFields(const qelValue& value, qelEncodedFields& fields)
{
    if (value.type() != QEL_REFERENCE_TYPE || !value.object())
        return false;
    auto* reference = dynamic_cast<qelReferenceObject*>(value.object());
    if (!reference)
        return false;
    fields.values[0] = reference->name;
    return true;
}

qelValue loadFileBufferMaker(const qelValue& name, int32_t textMode)
{
    return qelLoadFileBuffer(qelPathJoin(qelMediaPath(), name), textMode ? qelFileStream::TextMode : 0);
}

// Where compiled resources are written: "ResourcePath", or the media folder.
qelValue compiledPath(const qelValue& fileBase)
{
    qelValue folder = qelGetSetting("ResourcePath");
    if (folder.isNil())
        folder = qelMediaPath();
    // Only the file name is put in lower case: the folder is spelled as the system has it.
    return qelPathJoin(folder, qelLowerCase(fileBase + ".etn"));
}

void writeEncoded(const qelValue& path, const qelValue& value)
{
    qelValue stream = qelOpenFileStream(path, qelFileStream::Writable | qelFileStream::Create, 0);
    if (stream.isNil())
        return;
    qelEncode(stream, value);
    qelStreamFlush(stream);
}

// Sets the global `name` to a form of class `className` over a reference to the file's .etn
// resource, made with `formName`; nothing without an environment.
void registerFormClass(
    const qelValue& name, const qelValue& className, const qelValue& fileBase, const qelValue& formName)
{
    qelEnvironment* environment = qelCurrentEnv();
    if (!environment)
        return;
    qelValue reference = qelMakeReference(qelLocateFile(fileBase, "etn"));
    environment->setGlobal(name, qelServices().makeForm(className, reference, formName));
}

} // namespace

qelValue qelReferenceObject::resolve()
{
    return qelLoadResource(name);
}

qelValue qelMakeReference(const qelValue& name)
{
    return qelMakeObjectValue(QEL_REFERENCE_TYPE, new qelReferenceObject(name));
}

qelValue qelReferenceName(const qelValue& reference)
{
    if (reference.type() != QEL_REFERENCE_TYPE)
        return qelNil;
    qelEncodedFields fields;
    if (referenceFields(reference, fields) || qelFieldsOf(reference, fields))
        return fields.values[0];
    return qelNil;
}

qelValue qelResourceTypes()
{
    resourceTypes = qelTable(4, 100, 75);
    qelTableObject* table = qelTableOf(resourceTypes);
    table->put("avi", QEL_MOVIE_TYPE);
    for (const char* extension : { "bmp", "dib", "jpg", "pic", "rle" })
        table->put(extension, QEL_IMAGE_TYPE);
    table->put("etn", QEL_OBJECT_TYPE);
    for (const char* extension : { "frm", "lst", "tbl", "txt" })
        table->put(extension, QEL_STRING_TYPE);
    table->put("wav", QEL_SOUND_TYPE);
    table->put("mid", QEL_SOUND_TYPE);
    return resourceTypes;
}

qelValue qelMediaPath()
{
    if (!qelCurrentEnvironment())
        return ".";
    return qelPathJoin(qelGetSettingOr("SourceDisk", ""), qelGetSettingOr("MediaPath", "."));
}

qelValue qelResolve(const qelValue& value)
{
    qelValue current = value;
    while (current.type() == QEL_REFERENCE_TYPE) {
        if (loadDepth >= maximumLoadDepth)
            return qelNil;
        qelValue name = qelReferenceName(current);
        if (name.isNil())
            return qelNil;
        current = qelLoadResource(name);
    }
    return current;
}

qelValue qelLoadResource(const qelValue& nameOrReference)
{
    if (nameOrReference.isNil())
        return checked(qelNil, nameOrReference);
    if (loadDepth >= maximumLoadDepth)
        return checked(qelNil, nameOrReference);
    struct Nesting {
        Nesting() { ++loadDepth; }
        ~Nesting() { --loadDepth; }
    } nesting;

    if (nameOrReference.type() == QEL_REFERENCE_TYPE)
        return checked(qelResolve(nameOrReference), qelReferenceName(nameOrReference));

    qelValue result;
    if (qelEnvironment* environment = qelCurrentEnv()) {
        if (environment->activeForm.type() == QEL_FORM_TYPE)
            result = qelGet(environment->activeForm, nameOrReference);
        if (result.isNil() && qelTableOf(environment->globals))
            result = qelTableOf(environment->globals)->get(nameOrReference);
    }
    if (result.isNil())
        result = loadFile(nameOrReference);
    return checked(qelResolve(result), nameOrReference);
}

qelValue qelLoadFileBuffer(const qelValue& fileName, int32_t mode)
{
    qelValue stream = qelOpenFileStream(fileName, mode | qelFileStream::Readable, 1);
    qelStreamObject* file = qelStreamOf(stream);
    if (!file)
        return qelNil;
    int32_t size = file->size();
    // One byte more than the file: it stays 0, so a text reader finds the end of the bytes.
    qelValue buffer = qelBuffer(size + 1);
    uint8_t* bytes = qelBufferData(buffer);
    if (!bytes)
        return qelNil;
    int32_t count = size > 0 ? file->read(bytes, size) : 0;
    // Why: a text-mode read delivers fewer bytes than the file holds (CRs dropped), so only a
    // read that delivers nothing from a non-empty file is a failure.
    if (size > 0 && count <= 0)
        return qelNil;
    qelSetBufferLength(buffer, count);
    return buffer;
}

qelValue qelLoadImageResource(const qelValue& nameOrValue)
{
    qelValue value = nameOrValue;
    // A chain of names ends at an image; anything that is neither a name nor a reference, or a
    // chain longer than the load depth, ends it without one.
    for (int32_t step = 0; step < maximumLoadDepth; ++step) {
        if (value.type() == QEL_IMAGE_TYPE)
            return value;
        if (!value.isString() && value.type() != QEL_REFERENCE_TYPE)
            break;
        value = qelLoadResource(value);
    }
    return checked(qelNil, nameOrValue);
}

qelValue qelLoadSoundResource(const qelValue& nameOrValue, int32_t inMemory)
{
    if (!inMemory)
        return qelLoadResource(nameOrValue);
    qelValue value = nameOrValue;
    for (int32_t step = 0; step < maximumLoadDepth; ++step) {
        if (value.type() == QEL_SOUND_TYPE) {
            // The sound layer keeps the data in memory when it is installed; the file's bytes
            // otherwise, so the value encodes the same way.
            qelEncodedFields fields;
            if (!qelFieldsOf(value, fields) || !fields.values[1].isString())
                return value;
            qelValue buffer = qelLoadFileBuffer(fields.values[1], 0);
            return buffer.isNil() ? value : qelMakers().makeSoundValue(fields.values[0], buffer);
        }
        if (!value.isString() && value.type() != QEL_REFERENCE_TYPE)
            break;
        value = qelLoadResource(value);
    }
    return checked(qelNil, nameOrValue);
}

qelValue qelLoadMovieResource(const qelValue& name, int32_t fullScreen)
{
    qelValue file = qelResolve(name);
    if (!file.isString())
        return qelNil;
    qelValue path = qelPathJoin(qelMediaPath(), file);
    return qelServices().movieFromFile(path, qelLowerCase(qelExtension(file)), fullScreen);
}

void qelRegisterResourceClassEx(const qelValue& name, const qelValue& className, const qelValue& fileBase)
{
    registerFormClass(name, className, fileBase, name);
}

void qelRegisterResourceClass(const qelValue& name, const qelValue& fileBase)
{
    registerFormClass(name, name, fileBase, qelNil);
}

void qelLoadEtnResource(const qelValue& formName, const qelValue& fileBase)
{
    qelValue form = qelLoadResource(formName);
    qelFormEventProtocol* events = qelFormEventsOf(form);
    if (!events)
        return;
    qelValue table = events->loadResourceTable();
    writeEncoded(compiledPath(fileBase), table);
    events->releaseResourceTable();
}

void qelLoadTableResource(const qelValue& tableName, const qelValue& fileBase)
{
    qelValue table = qelLoadResource(tableName + ".tbl");
    writeEncoded(compiledPath(fileBase), table);
}

qelNamedObject* qelClassPrototype(const qelValue& className)
{
    qelEnvironment* environment = qelCurrentEnv();
    if (!environment || !qelTableOf(environment->globals))
        return nullptr;
    qelValue registry = qelTableOf(environment->globals)->get("Classes");
    qelTableObject* classes = qelTableOf(registry);
    if (!classes)
        return nullptr;
    qelValue prototype = classes->get(className);
    return prototype.type() == QEL_OBJECT_TYPE ? dynamic_cast<qelNamedObject*>(prototype.object()) : nullptr;
}

void qelInstallResourceMakers()
{
    qelMakerHooks& makers = qelMakers();
    makers.makeReference = qelMakeReference;
    makers.referenceFields = referenceFields;
    makers.loadImageResource = qelLoadImageResource;
    makers.loadFileBuffer = loadFileBufferMaker;
    makers.loadSoundResource = qelLoadSoundResource;
}
