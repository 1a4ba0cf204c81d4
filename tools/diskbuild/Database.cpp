#include "tools/diskbuild/Database.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "tools/diskbuild/Sources.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// Fields after field 0 in each database.
constexpr int32_t countryFields = 86;
constexpr int32_t stateFields = 49;

qelValue member(const qelValue& table, const char* key, int32_t type, const std::string& where)
{
    qelValue value = qelTableOf(table) ? qelTableOf(table)->get(key) : qelNil;
    if (value.type() != type)
        throw Failure { where + ": \"" + qelToUtf8(key) + "\" missing or of the wrong type" };
    return value;
}

std::string trimmed(const std::string& text)
{
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return "";
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

void build(const std::string& name, const qelValue& layout, const qelValue& indexed, const qelValue& rows,
    int32_t fieldCount, const std::string& media, const std::string& where)
{
    if (qelCount(layout) != fieldCount)
        throw Failure { where + ": the layout of " + name + " must name " + std::to_string(fieldCount) + " fields" };
    std::map<std::string, int32_t> fieldOf;
    for (int32_t i = 0; i < fieldCount; ++i) {
        std::string field = qelCString(qelGet(layout, i));
        if (field != "(reservado)")
            fieldOf[field] = i + 1;
    }
    std::vector<qelValue> records;
    for (int32_t r = 0; r < qelCount(rows); ++r) {
        qelValue row = qelGet(rows, r);
        qelTableObject* table = qelTableOf(row);
        std::string rowWhere = where + ": " + name + " record " + std::to_string(r);
        if (!table)
            throw Failure { rowWhere + " is not a table" };
        qelValue record = qelMakeList(fieldCount + 2, 100, QEL_GENERAL_LIST);
        for (int32_t i = 0; i <= fieldCount; ++i)
            qelAddItem(record, "n.d.");
        qelValue recordName = member(row, "Nome", QEL_STRING_TYPE, rowWhere);
        qelPut(record, 0, recordName);
        for (int32_t slot = table->firstIndex(); slot >= 0; slot = table->nextIndex(slot)) {
            std::string key = qelCString(table->keyAt(slot));
            auto found = fieldOf.find(key);
            if (found == fieldOf.end())
                throw Failure { rowWhere + ": no field \"" + qelToUtf8(key) + "\" in the layout" };
            qelPut(record, found->second, table->valueAt(slot));
        }
        records.push_back(record);
    }
    writeArchive(media + "/" + name + ".dat", records);

    qelValue index = qelTable(16, 100, 75);
    for (int32_t i = 0; i < qelCount(indexed); ++i) {
        std::string key = qelCString(qelGet(indexed, i));
        auto found = fieldOf.find(key);
        if (found == fieldOf.end())
            throw Failure { where + ": the index of " + name + " names no field \"" + qelToUtf8(key) + "\"" };
        int32_t field = found->second;
        // Values in record order; each keyed by its text, each part of a multi-valued text apart.
        std::map<std::string, std::vector<int32_t>> numbers;
        std::vector<std::string> order;
        for (int32_t r = 0; r < int32_t(records.size()); ++r) {
            qelValue value = qelGet(records[size_t(r)], field);
            if (!value.isString())
                throw Failure { where + ": the indexed field \"" + qelToUtf8(key) + "\" must hold texts" };
            std::string text = qelCString(value);
            std::vector<std::string> parts;
            if (text.find(';') == std::string::npos) {
                parts.push_back(text);
            } else {
                size_t start = 0;
                for (size_t semicolon; (semicolon = text.find(';', start)) != std::string::npos; start = semicolon + 1)
                    parts.push_back(trimmed(text.substr(start, semicolon - start)));
                parts.push_back(trimmed(text.substr(start)));
            }
            for (const std::string& part : parts) {
                if (part.empty())
                    continue;
                auto& list = numbers[part];
                if (list.empty())
                    order.push_back(part);
                if (list.empty() || list.back() != r)
                    list.push_back(r);
            }
        }
        qelValue values = qelTable(int32_t(order.size()) + 4, 100, 75);
        for (const std::string& part : order) {
            qelValue list = qelMakeList(int32_t(numbers[part].size()) + 1, 100, QEL_INT_LIST);
            for (int32_t r : numbers[part])
                qelAddItem(list, qelMakeInt(r));
            qelPut(values, qelValue(part.c_str()), list);
        }
        qelPut(index, qelValue(std::to_string(field).c_str()), values);
    }
    writeArchive(media + "/" + name + ".idx", { index });
}

} // namespace

bool buildDatabase(const std::string& dataFolder, const std::string& mediaFolder, std::string& error)
{
    try {
        std::string layoutPath = dataFolder + "/bdados.tbl";
        std::string countriesPath = dataFolder + "/paises.tbl";
        qelValue layout = readTable(layoutPath);
        qelValue countries = readTable(countriesPath);
        build("DBPaises", member(layout, "Campos Paises", QEL_LIST_TYPE, layoutPath),
            member(layout, "Indice Paises", QEL_LIST_TYPE, layoutPath),
            member(countries, "Paises", QEL_LIST_TYPE, countriesPath), countryFields, mediaFolder, countriesPath);
        build("DBEstado", member(layout, "Campos Estados", QEL_LIST_TYPE, layoutPath),
            member(layout, "Indice Estados", QEL_LIST_TYPE, layoutPath),
            member(layout, "Estados", QEL_LIST_TYPE, layoutPath), stateFields, mediaFolder, layoutPath);
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}
