// qelidx: index files.
//
//   qelidx build SRC -o OUT   a new index of the items of SRC, a table in text notation (key ->
//                             value), added in ascending key-byte order, so the same source
//                             always gives the same bytes; the file is reopened and verified.
//                             On any error OUT is deleted, the message printed, and the status 1.
//   qelidx get FILE KEY       the value stored under KEY in quoted text notation; nothing and
//                             status 1 when absent
//   qelidx count FILE         the index's count (its count item included)
//   qelidx verify FILE        status 0 when the file is sound, else the damage and status 2
//   qelidx prefix FILE P      one line "key value" (both quoted) per item whose key begins with P
//   qelidx dump FILE          the header's fields, then every page with its entries
//
// Text sources and command-line keys are UTF-8 and are turned into cp1252; a source that is not
// valid UTF-8 is taken as cp1252 already. File names are passed to the system as they are.

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/File.h"
#include "recdb/Verify.h"
#include "recdb/index/IndexObject.h"
#include "tools/common/ToolErrors.h"
#include "tools/qelidx/Dump.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Files to delete when an error ends the program.
std::vector<std::string> cleanup;

void removeCleanupFiles()
{
    for (const std::string& path : cleanup)
        platform::File::remove(path);
}

constexpr const char* usageText = "usage: qelidx build SRC -o OUT\n"
                                  "       qelidx get FILE KEY\n"
                                  "       qelidx count FILE\n"
                                  "       qelidx verify FILE\n"
                                  "       qelidx prefix FILE P\n"
                                  "       qelidx dump FILE\n";

// A command-line argument (UTF-8) as a cp1252 string value.
qelValue argumentValue(const char* argument)
{
    return qelStringValue(qelFromUtf8(argument).c_str());
}

std::string sourceText(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        qelToolFail(std::string("Cannot open ") + path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out;
    size_t pos = 0;
    while (pos < bytes.size()) {
        int32_t ch = platform::cp1252::decodeUtf8(bytes, pos);
        if (ch < 0)
            return bytes; // not UTF-8: cp1252 already
        int code = platform::cp1252::fromUnicode(char32_t(ch));
        if (code < 0) {
            char text[64];
            std::snprintf(text, sizeof text, "character U+%04X has no cp1252 form", unsigned(ch));
            qelToolFail(std::string(path) + ": " + text);
        }
        out.push_back(char(code));
    }
    return out;
}

std::string quoted(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 1));
}

// The quoted text on one line: the printer's line breaks and their indentation become one blank
// (line breaks inside strings are written as \n, so none is lost).
std::string oneLine(const qelValue& value)
{
    std::string text = quoted(value);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            out.push_back(text[i]);
            continue;
        }
        out.push_back(' ');
        while (i + 1 < text.size() && text[i + 1] == ' ')
            ++i;
    }
    return out;
}

struct Item {
    std::string key;
    qelValue keyValue;
    qelValue value;
};

int build(const char* source, const char* out)
{
    // Built under a temporary name and renamed when sound, so a failed build leaves no file.
    std::string temporary = std::string(out) + ".tmp";
    cleanup = { temporary, out };
    std::string text = sourceText(source);
    qelValue table = qelDecodeText(qelStringValueN(text.data(), int32_t(text.size())));
    if (table.type() != QEL_TABLE_TYPE)
        qelToolFail(std::string(source) + ": the source is not a table");
    std::vector<Item> items;
    for (int32_t slot = qelFirstIndex(table); slot >= 0; slot = qelNextIndex(table, slot)) {
        qelValue key = qelGetKey(table, slot);
        items.push_back({ qelIndexKeyText(key), key, qelGet(table, slot) });
    }
    // Ascending unsigned key bytes (char_traits<char> compares as unsigned char).
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].key == qelIndexObject::countKey)
            qelToolFail(std::string(source) + ": the key " + qelIndexObject::countKey + " is the index's own");
        if (i > 0 && items[i].key == items[i - 1].key)
            qelToolFail(std::string(source) + ": two keys are stored as " + qelToUtf8(items[i].key));
    }

    platform::File::remove(temporary);
    qelValue name = qelStringValue(temporary.c_str());
    {
        qelValue index = qelCreateIndex(name);
        for (const Item& item : items)
            qelPut(index, item.keyValue, item.value);
    }
    {
        qelValue index = qelOpenIndex(name, 0, 0);
        qelIndexObject* object = qelIndexObjectOf(index);
        if (int32_t status = rdbVerify(&object->handle())) {
            qelToolFail("The new index is damaged: " + std::to_string(object->handle().verifyCode) + " at page "
                + std::to_string(object->handle().verifyPage) + " (" + std::to_string(status) + ")");
        }
        if (qelCount(index) != int32_t(items.size()) + 1)
            qelToolFail("The new index counts " + std::to_string(qelCount(index)) + " items");
    }
    if (!platform::File::rename(temporary, out))
        qelToolFail(std::string("Cannot rename the new index to ") + out);
    cleanup.clear();
    return 0;
}

qelValue openIndex(const char* file)
{
    return qelOpenIndex(qelStringValue(file), 0, 0);
}

int get(const char* file, const char* key)
{
    qelValue index = openIndex(file);
    qelValue k = argumentValue(key);
    if (!qelContainsKey(index, k))
        return 1;
    std::printf("%s\n", quoted(qelGet(index, k)).c_str());
    return 0;
}

int count(const char* file)
{
    std::printf("%d\n", int(qelCount(openIndex(file))));
    return 0;
}

int verify(const char* file)
{
    rdbHandle h;
    int32_t status = rdbOpen(&h, file, 'E', 1, nullptr);
    if (status) {
        std::printf("cannot open: %d\n", int(status));
        return 2;
    }
    status = rdbVerify(&h);
    if (status)
        std::printf("damaged: %d at page %d (%d)\n", int(h.verifyCode), int(h.verifyPage), int(status));
    rdbClose(&h);
    return status ? 2 : 0;
}

int prefix(const char* file, const char* p)
{
    qelValue index = openIndex(file);
    qelIndexObject* object = qelIndexObjectOf(index);
    qelValue prefixValue = argumentValue(p);
    qelValue keys = object->keysWithPrefix(prefixValue, nullptr);
    qelValue values = object->valuesWithPrefix(prefixValue, nullptr);
    if (keys.isNil())
        return 0;
    for (int32_t i = 0; i < qelCount(keys); ++i)
        std::printf("%s %s\n", oneLine(qelGet(keys, i)).c_str(), oneLine(qelGet(values, i)).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qelToolInstallErrorHooks(removeCleanupFiles);
    if (argc < 3)
        qelToolUsage(usageText);
    std::string command = argv[1];
    if (command == "build" && argc == 5 && std::strcmp(argv[3], "-o") == 0)
        return build(argv[2], argv[4]);
    if (command == "get" && argc == 4)
        return get(argv[2], argv[3]);
    if (command == "count" && argc == 3)
        return count(argv[2]);
    if (command == "verify" && argc == 3)
        return verify(argv[2]);
    if (command == "prefix" && argc == 4)
        return prefix(argv[2], argv[3]);
    if (command == "dump" && argc == 3)
        return dumpRecordFile(argv[2]);
    qelToolUsage(usageText);
}
