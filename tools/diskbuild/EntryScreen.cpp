#include "tools/diskbuild/EntryScreen.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "tools/diskbuild/Sources.h"

namespace {

bool put(qelTableObject* screen, const std::string& key, const qelValue& value, const std::string& source,
    std::string& error)
{
    if (screen->find(key.c_str()) >= 0) {
        error = source + ": \"" + key + "\" comes from the entries' \"Categorias\", not from the screen";
        return false;
    }
    screen->put(key.c_str(), value);
    return true;
}

} // namespace

bool buildEntryScreen(const ScreenRegistration& screen, const std::string& source, const std::string& entries,
    const std::string& output, std::string& error)
{
    qelValue table = readNotationFile(source, error);
    if (!error.empty())
        return false;
    qelTableObject* resources = qelTableOf(table);
    if (!resources) {
        error = source + ": not a table";
        return false;
    }
    if (!claimScreenClass(*resources, screen, source, error))
        return false;

    qelValue data = readNotationFile(entries, error);
    if (!error.empty())
        return false;
    qelValue mains = qelTableOf(data) ? qelTableOf(data)->get("Categorias") : qelNil;
    qelListObject* mainList = qelListObjectOf(mains);
    if (!mainList) {
        error = entries + ": \"Categorias\" must be a list";
        return false;
    }
    qelValue names = qelMakeList(mainList->count + 1, 100, QEL_GENERAL_LIST);
    for (int32_t m = 0; m < mainList->count; ++m) {
        qelValue main = mainList->elementAt(m);
        qelValue name = qelListObjectOf(main) && qelCount(main) >= 2 ? qelGet(main, 0) : qelNil;
        qelValue subs = qelListObjectOf(main) && qelCount(main) >= 2 ? qelGet(main, 1) : qelNil;
        if (!name.isString() || !qelListObjectOf(subs)) {
            error = entries + ": main category " + std::to_string(m + 1) + " must be (list name (list ...))";
            return false;
        }
        qelListObjectOf(names)->append(name);
        for (int32_t k = 0; k < qelCount(subs); ++k) {
            qelValue sub = qelGet(subs, k);
            qelValue number = qelListObjectOf(sub) && qelCount(sub) >= 2 ? qelGet(sub, 0) : qelNil;
            qelValue subName = qelListObjectOf(sub) && qelCount(sub) >= 2 ? qelGet(sub, 1) : qelNil;
            if (number.type() != QEL_INT_TYPE || !subName.isString()) {
                error = entries + ": a sub-category of main category " + std::to_string(m + 1)
                    + " must be (list number name)";
                return false;
            }
            if (!put(resources, "Cat" + std::to_string(number.payload()), qelListOf({ qelMakeInt(m + 1), subName }),
                    source, error))
                return false;
        }
    }
    if (!put(resources, "MCategs", names, source, error))
        return false;
    if (!writeEncoded(table, output)) {
        error = "cannot write " + output;
        return false;
    }
    return true;
}
