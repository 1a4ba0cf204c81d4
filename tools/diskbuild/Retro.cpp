#include "tools/diskbuild/Retro.h"

#include "app/reference/ReviewLists.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/ValuePrinter.h"
#include "tools/diskbuild/Sources.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Failure {
    std::string message;
};

struct Article {
    int32_t number;
    int32_t category;
    int32_t region;
    int32_t month;
    int32_t day;
    std::string title;
    std::string body;
};

// The review's categories and months, as the screens name them.
constexpr int32_t categoryCount = 10;
constexpr int32_t monthCount = 12;
// Why: no month has more days; a later day is a typing slip.
constexpr int32_t lastDay = 31;

std::string text(const qelValue& item, const char* key, const std::string& where)
{
    qelValue value = qelGet(item, key);
    if (!value.isString() || qelCount(value) == 0)
        throw Failure { where + ": \"" + key + "\" must be a text" };
    return std::string(qelCString(value), size_t(qelCount(value)));
}

int32_t number(const qelValue& item, const char* key, int32_t low, int32_t high, const std::string& where)
{
    qelValue value = qelGet(item, key);
    if (value.type() != QEL_INT_TYPE || value.payload() < low || value.payload() > high)
        throw Failure { where + ": \"" + key + "\" must be a number from " + std::to_string(low) + " to "
            + std::to_string(high) };
    return value.payload();
}

int32_t categoryNumber(const std::string& name, const std::string& where)
{
    for (int32_t i = 1; i <= categoryCount; ++i) {
        if (reviewCategoryName(i) == name.c_str())
            return i;
    }
    throw Failure { where + ": the category " + qelToUtf8(name) + " is not one of the review's" };
}

// The heading shown above an article: its title in bold and its date in italics.
std::string heading(const Article& article)
{
    std::string month = qelCString(qelLowerCase(reviewMonthName(article.month)));
    return "{\\b " + article.title + "}\\par {\\i " + std::to_string(article.day) + " de " + month + " de 1997}";
}

qelValue recordOf(const Article& article)
{
    qelValue record = qelMakeList(8, 100, QEL_GENERAL_LIST);
    qelAddItem(record, qelMakeInt(article.number));
    qelAddItem(record, qelMakeInt(article.category));
    qelAddItem(record, qelMakeInt(article.region));
    qelAddItem(record, qelMakeInt(article.month));
    qelAddItem(record, qelStringValueN(article.title.data(), int32_t(article.title.size())));
    std::string head = heading(article);
    qelAddItem(record, qelStringValueN(head.data(), int32_t(head.size())));
    qelAddItem(record, qelStringValueN(article.body.data(), int32_t(article.body.size())));
    qelAddItem(record, qelNil);
    return record;
}

qelValue intList(const std::vector<const Article*>& articles)
{
    qelValue list = qelMakeList(int32_t(articles.size()) + 1, 100, QEL_INT_LIST);
    for (const Article* article : articles)
        qelAddItem(list, qelMakeInt(article->number));
    return list;
}

std::vector<Article> readArticles(const std::string& sourcePath)
{
    std::string error;
    qelValue source = readNotationFile(sourcePath, error);
    if (!error.empty())
        throw Failure { error };
    qelValue items = qelTableOf(source) ? qelGet(source, "Artigos") : qelNil;
    if (!qelListObjectOf(items))
        throw Failure { sourcePath + ": \"Artigos\" must be a list" };
    std::vector<Article> articles;
    std::set<std::string> titles;
    for (int32_t i = 0; i < qelCount(items); ++i) {
        std::string where = sourcePath + ": article " + std::to_string(i + 1);
        qelValue item = qelGet(items, i);
        if (!qelTableOf(item))
            throw Failure { where + ": not a table" };
        Article article;
        article.number = i;
        article.title = text(item, "Titulo", where);
        article.category = categoryNumber(text(item, "Categoria", where), where);
        std::string region = text(item, "Regiao", where);
        if (region != "Brasil" && region != "Mundo")
            throw Failure { where + ": \"Regiao\" must be Brasil or Mundo" };
        article.region = region == "Brasil" ? 1 : 2;
        article.month = number(item, "Mes", 1, monthCount, where);
        article.day = number(item, "Dia", 1, lastDay, where);
        article.body = text(item, "Texto", where);
        if (!titles.insert(article.title).second)
            throw Failure { where + ": the title " + qelToUtf8(article.title) + " is given twice" };
        articles.push_back(article);
    }
    return articles;
}

void writeTitleIndex(const std::vector<Article>& articles, const std::string& path)
{
    std::string out = "(table\n";
    for (const Article& article : articles) {
        qelValue key = qelStringValueN(article.title.data(), int32_t(article.title.size()));
        out += std::string("  (") + qelCString(qelPrintValue(key, 1)) + " " + std::to_string(article.number) + ")\n";
    }
    out += ")\n";
    std::string utf8 = qelToUtf8(out);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(utf8.data(), std::streamsize(utf8.size()));
    if (!file)
        throw Failure { "cannot write " + path };
}

} // namespace

bool buildRetro(const std::string& sourcePath, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error)
{
    try {
        std::vector<Article> articles = readArticles(sourcePath);
        std::vector<qelValue> records;
        for (const Article& article : articles)
            records.push_back(recordOf(article));
        if (!writeArchiveFile(mediaFolder + "/Retro.DAT", records, error))
            return false;

        // A category lists its articles by date; a month by category, then by day, so that each
        // group of the lists is one run under its heading.
        std::map<int32_t, std::vector<const Article*>> sections;
        for (const Article& article : articles) {
            sections[article.category].push_back(&article);
            sections[review::monthKeyBase + article.month].push_back(&article);
        }
        qelValue table = qelTable(32, 100, 75);
        for (auto& [key, list] : sections) {
            bool byCategory = key <= review::monthKeyBase;
            std::stable_sort(list.begin(), list.end(), [byCategory](const Article* a, const Article* b) {
                if (byCategory)
                    return a->month != b->month ? a->month < b->month : a->day < b->day;
                return a->category != b->category ? a->category < b->category : a->day < b->day;
            });
            qelPut(table, qelMakeInt(key), intList(list));
        }
        if (!writeArchiveFile(mediaFolder + "/RTCatLst.DTT", { table }, error))
            return false;
        writeTitleIndex(articles, sourcesFolder + "/RTTitulo.tbl");
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}
