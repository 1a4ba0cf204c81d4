#include "tools/diskbuild/Sources.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "tools/diskbuild/Bytes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

qelValue readNotationFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return qelNil;
    }
    std::string text = qelFromUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
    return qelDecodeText(qelStringValueN(text.data(), int32_t(text.size())));
}

qelValue readTable(const std::string& path)
{
    std::string error;
    qelValue value = readNotationFile(path, error);
    if (!error.empty())
        throw Failure { error };
    if (!qelTableOf(value))
        throw Failure { path + ": not a table" };
    return value;
}

qelValue field(const qelValue& table, const char* key)
{
    qelTableObject* object = qelTableOf(table);
    return object ? object->get(key) : qelNil;
}

bool writeArchiveFile(const std::string& path, const std::vector<qelValue>& values, std::string& error)
{
    std::remove(path.c_str());
    qelValue archive = qelCreateArchive(qelValue(path.c_str()), int32_t(values.size()) + 1);
    qelArchiveObject* object = qelArchiveOf(archive);
    for (const qelValue& value : values)
        object->add(value);
    if (object->flush())
        return true;
    error = "cannot write " + path;
    return false;
}

void writeDiskFile(const std::string& path, const std::string& bytes)
{
    if (!writeBytes(path, bytes.data(), bytes.size()))
        throw Failure { "cannot write " + path };
}

void writeDiskFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (!writeBytes(path, bytes))
        throw Failure { "cannot write " + path };
}

void writeNotationFile(const std::string& path, const std::string& cp1252)
{
    writeDiskFile(path, qelToUtf8(cp1252));
}

void writeArchive(const std::string& path, const std::vector<qelValue>& values)
{
    std::string error;
    if (!writeArchiveFile(path, values, error))
        throw Failure { error };
}

std::vector<std::string> tableFamily(const std::string& folder, const std::string& stem)
{
    std::vector<std::string> files;
    std::error_code error;
    if (std::filesystem::exists(folder + "/" + stem + ".tbl", error))
        files.push_back(folder + "/" + stem + ".tbl");
    std::vector<std::string> parts;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.size() > stem.size() + 5 && name.compare(0, stem.size() + 1, stem + "-") == 0
            && name.compare(name.size() - 4, 4, ".tbl") == 0)
            parts.push_back(folder + "/" + name);
    }
    std::sort(parts.begin(), parts.end());
    files.insert(files.end(), parts.begin(), parts.end());
    return files;
}

std::string notationQuoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}
