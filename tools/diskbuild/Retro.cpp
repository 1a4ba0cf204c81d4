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
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Article {
    int32_t number;
    int32_t category;
    int32_t region;
    int32_t month;
    int32_t day;
    std::string title;
    std::string body;
    // The files of the pictures the body shows; empty for none.
    std::vector<std::string> pictures;
};

// One review set's table: which set it makes, the year its headings name and its articles.
struct ReviewSource {
    bool use98 = false;
    int32_t year = 0;
    std::vector<Article> articles;
};

// The review's categories and months, as the screens name them.
constexpr int32_t categoryCount = 10;
constexpr int32_t monthCount = 12;
// Why: no month has more days; a later day is a typing slip.
constexpr int32_t lastDay = 31;
// Why: the review tells of the years the almanac covers; another year is a typing slip.
constexpr int32_t firstYear = 1900, lastYear = 2099;
// The search's section bit of the review's articles (Keywords.h, Data.h).
constexpr int32_t reviewSection = 32;

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
std::string heading(const Article& article, int32_t year)
{
    std::string month = qelCString(qelLowerCase(reviewMonthName(article.month)));
    return "{\\b " + article.title + "}\\par {\\i " + std::to_string(article.day) + " de " + month + " de "
        + std::to_string(year) + "}";
}

qelValue picturesOf(const Article& article)
{
    if (article.pictures.empty())
        return qelNil;
    qelValue list = qelMakeList(int32_t(article.pictures.size()) + 1, 100, QEL_GENERAL_LIST);
    for (const std::string& name : article.pictures)
        qelAddItem(list, qelStringValueN(name.data(), int32_t(name.size())));
    return list;
}

qelValue recordOf(const Article& article, int32_t year)
{
    qelValue record = qelMakeList(8, 100, QEL_GENERAL_LIST);
    qelAddItem(record, qelMakeInt(article.number));
    qelAddItem(record, qelMakeInt(article.category));
    qelAddItem(record, qelMakeInt(article.region));
    qelAddItem(record, qelMakeInt(article.month));
    qelAddItem(record, qelStringValueN(article.title.data(), int32_t(article.title.size())));
    std::string head = heading(article, year);
    qelAddItem(record, qelStringValueN(head.data(), int32_t(head.size())));
    qelAddItem(record, qelStringValueN(article.body.data(), int32_t(article.body.size())));
    qelAddItem(record, picturesOf(article));
    return record;
}

qelValue intList(const std::vector<const Article*>& articles)
{
    qelValue list = qelMakeList(int32_t(articles.size()) + 1, 100, QEL_INT_LIST);
    for (const Article* article : articles)
        qelAddItem(list, qelMakeInt(article->number));
    return list;
}

std::string lower(const std::string& cp1252)
{
    return qelCString(qelLowerCase(qelValue(cp1252.c_str())));
}

// The files of the media items beside the review's table (data/midias*.tbl, lower-cased): the
// pictures an article may show.
std::set<std::string> mediaFiles(const std::string& folder)
{
    std::set<std::string> files;
    for (const std::string& path : tableFamily(folder, "midias")) {
        std::string error;
        qelValue table = readNotationFile(path, error);
        if (!error.empty())
            throw Failure { error };
        qelValue items = qelTableOf(table) ? qelGet(table, "Midias") : qelNil;
        for (int32_t i = 0; qelListObjectOf(items) && i < qelCount(items); ++i) {
            qelValue file = qelTableOf(qelGet(items, i)) ? qelGet(qelGet(items, i), "Arquivo") : qelNil;
            if (file.isString())
                files.insert(lower(qelCString(file)));
        }
    }
    return files;
}

std::vector<std::string> picturesOf(const qelValue& item, const std::string& where)
{
    std::vector<std::string> pictures;
    qelValue names = qelGet(item, "Fotos");
    if (names.isNil())
        return pictures;
    if (!qelListObjectOf(names))
        throw Failure { where + ": \"Fotos\" must be a list of picture files" };
    for (int32_t p = 0; p < qelCount(names); ++p) {
        qelValue name = qelGet(names, p);
        if (!name.isString() || qelCount(name) == 0)
            throw Failure { where + ": \"Fotos\" must be a list of picture files" };
        pictures.emplace_back(qelCString(name), size_t(qelCount(name)));
    }
    return pictures;
}

ReviewSource readSource(const std::string& sourcePath)
{
    qelValue source = readTable(sourcePath);
    ReviewSource review;
    std::string set = text(source, "Conjunto", sourcePath);
    if (set != "Retro" && set != "Retro98")
        throw Failure { sourcePath + ": \"Conjunto\" must be Retro or Retro98" };
    review.use98 = set == "Retro98";
    review.year = number(source, "Ano", firstYear, lastYear, sourcePath);
    qelValue items = qelGet(source, "Artigos");
    if (!qelListObjectOf(items))
        throw Failure { sourcePath + ": \"Artigos\" must be a list" };
    std::string folder = std::filesystem::path(sourcePath).parent_path().string();
    std::set<std::string> media = mediaFiles(folder.empty() ? "." : folder);
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
        article.pictures = picturesOf(item, where);
        // The page shows a picture through the media index: one it does not hold would leave
        // the article without its page.
        for (const std::string& picture : article.pictures) {
            if (!media.count(lower(picture)))
                throw Failure { where + ": the picture " + qelToUtf8(picture) + " is no media file" };
        }
        if (!titles.insert(article.title).second)
            throw Failure { where + ": the title " + qelToUtf8(article.title) + " is given twice" };
        review.articles.push_back(article);
    }
    return review;
}

void writeTitleIndex(const std::vector<Article>& articles, const std::string& path)
{
    std::string out = "(table\n";
    for (const Article& article : articles) {
        qelValue key = qelStringValueN(article.title.data(), int32_t(article.title.size()));
        out += std::string("  (") + qelCString(qelPrintValue(key, 1)) + " " + std::to_string(article.number) + ")\n";
    }
    out += ")\n";
    writeNotationFile(path, out);
}

} // namespace

bool buildRetro(const std::string& sourcePath, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error)
{
    try {
        ReviewSource review = readSource(sourcePath);
        const std::vector<Article>& articles = review.articles;
        const ReviewSetFiles& files = reviewSetFiles(review.use98);
        std::vector<qelValue> records;
        for (const Article& article : articles)
            records.push_back(recordOf(article, review.year));
        if (!writeArchiveFile(mediaFolder + "/" + files.data + ".DAT", records, error))
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
        if (!writeArchiveFile(mediaFolder + "/" + files.categories + ".DTT", { table }, error))
            return false;
        writeTitleIndex(articles, sourcesFolder + "/" + files.titles + ".tbl");
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}

bool retroSearchItems(const std::string& dataFolder, std::vector<RetroSearchItem>& items, std::string& error)
{
    try {
        std::string path = dataFolder + "/retro.tbl";
        ReviewSource review = readSource(path);
        // The search opens its hits in the "Retro" set: the page it goes to names no other.
        if (review.use98)
            throw Failure { path + ": the search's review must be the \"Retro\" set" };
        for (const Article& article : review.articles) {
            // Why: an article's number is the low 16 bits of its packed id.
            if (article.number > 0xFFFF)
                throw Failure { path + ": more articles than the search can number" };
            items.push_back({ (reviewSection << 16) | article.number, article.title, article.body });
        }
        return true;
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
}
