// qelc: the value compiler.
//
//   qelc compile IN -o OUT   one value in text notation -> its binary encoding in OUT
//   qelc dump IN             an encoded value file or an archive -> text notation on stdout
//                            ("item N" before each item of an archive)
//   qelc archive OUT IN...   a new archive of the values of the IN files, in order
//
// Text sources are UTF-8 and are converted to cp1252; a source that is not valid UTF-8 is taken
// as cp1252 already. IN files of `archive` in text notation end in .frm, .tbl, .lst or .txt;
// any other IN file holds an encoded value. Errors of the framework print their message and end
// the program with status 1.

#include "app/Startup.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"
#include "platform/sys/Cp1252.h"
#include "tools/common/ToolErrors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* usageText = "usage: qelc compile IN -o OUT\n"
                                  "       qelc dump IN\n"
                                  "       qelc archive OUT IN...\n";

// File names on the command line are UTF-8; the framework takes cp1252.
qelValue nameValue(const char* argument)
{
    return qelStringValue(qelFromUtf8(argument).c_str());
}

std::string readWhole(const char* path)
{
    qelValue stream = qelOpenFileStream(nameValue(path), 1, 0);
    qelStreamObject* s = qelStreamOf(stream);
    std::string bytes(static_cast<size_t>(s->size()), '\0');
    if (!bytes.empty()
        && s->read(reinterpret_cast<uint8_t*>(bytes.data()), int32_t(bytes.size())) != int32_t(bytes.size()))
        qelError("Cannot read QELBYTE from stream");
    return bytes;
}

bool isValidUtf8(const std::string& text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        if (platform::cp1252::decodeUtf8(text, pos) < 0)
            return false;
    }
    return true;
}

// The source as cp1252: UTF-8 is converted; a character cp1252 cannot hold is an error.
std::string sourceText(const char* path)
{
    std::string bytes = readWhole(path);
    if (!isValidUtf8(bytes))
        return bytes;
    std::string out;
    size_t pos = 0;
    while (pos < bytes.size()) {
        int32_t ch = platform::cp1252::decodeUtf8(bytes, pos);
        int code = platform::cp1252::fromUnicode(char32_t(ch));
        if (code < 0) {
            std::fprintf(stderr, "%s: character U+%04X has no cp1252 form\n", path, unsigned(ch));
            std::exit(1);
        }
        out.push_back(char(code));
    }
    return out;
}

qelValue compileText(const char* path)
{
    std::string text = sourceText(path);
    return qelDecodeText(qelStringValueN(text.data(), int32_t(text.size())));
}

qelValue loadValue(const char* path)
{
    std::string name = path;
    auto dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    for (auto& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "frm" || extension == "tbl" || extension == "lst" || extension == "txt")
        return compileText(path);
    qelValue stream = qelOpenFileStream(nameValue(path), 1, 0);
    return qelDecode(stream);
}

void print(const qelValue& value)
{
    std::string text = qelCString(qelPrintValue(value, 1));
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

int compile(const char* in, const char* out)
{
    qelValue value = compileText(in);
    qelValue stream = qelOpenFileStream(nameValue(out), 0x0A, 0);
    qelEncode(stream, value);
    if (!qelStreamFlush(stream))
        qelError("Cannot write QELBYTE to stream");
    return 0;
}

int dump(const char* in)
{
    qelValue stream = qelOpenFileStream(nameValue(in), 1, 0);
    qelStreamObject* s = qelStreamOf(stream);
    uint8_t magic[4] = {};
    bool isArchive = s->read(magic, 4) == 4 && std::memcmp(magic, "0QEL", 4) == 0;
    if (!isArchive) {
        s->seek(0);
        print(qelDecode(stream));
        return 0;
    }
    qelValue archive = qelOpenArchive(stream, 0);
    qelArchiveObject* a = qelArchiveOf(archive);
    int32_t count = a->count();
    for (int32_t i = 0; i < count; ++i) {
        std::printf("item %d\n", int(i));
        print(a->get(i));
    }
    return 0;
}

int archive(const char* out, char** inputs, int count)
{
    qelValue archive = qelCreateArchive(nameValue(out), count);
    qelArchiveObject* a = qelArchiveOf(archive);
    for (int i = 0; i < count; ++i)
        a->add(loadValue(inputs[i]));
    return a->flush() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qelToolInstallErrorHooks();
    // Regions, fonts and images become the display's own objects, as in the program.
    velarimInstallDisplayValues();
    if (argc < 2)
        qelToolUsage(usageText);
    std::string command = argv[1];
    if (command == "compile" && argc == 5 && std::strcmp(argv[3], "-o") == 0)
        return compile(argv[2], argv[4]);
    if (command == "dump" && argc == 3)
        return dump(argv[2]);
    if (command == "archive" && argc >= 3)
        return archive(argv[2], argv + 3, argc - 3);
    qelToolUsage(usageText);
}
