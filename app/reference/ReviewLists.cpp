#include "app/reference/ReviewLists.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <iterator>

namespace {

constexpr const char* monthNames[] = { "Janeiro", "Fevereiro", "Mar\xE7o", "Abril", "Maio", "Junho", "Julho",
    "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro" };
constexpr const char* categoryNames[] = { "Acidentes", "Ci\xEAncias", "Cultura", "Economia", "Educa\xE7\xE3o",
    "Esportes", "Mortes", "Pol\xEDtica", "Sa\xFA" "de", "Viol\xEAncia" };

constexpr ReviewSetFiles retroFiles { "Retro", "RTCatLst", "RTTitulo" };
constexpr ReviewSetFiles retro98Files { "Retro98", "RTCLst98", "RTTit98" };

qelValue nameAt(const char* const* names, int32_t count, int32_t n)
{
    return n >= 1 && n <= count ? qelValue(names[n - 1]) : qelNil;
}

} // namespace

const ReviewSetFiles& reviewSetFiles(bool use98)
{
    return use98 ? retro98Files : retroFiles;
}

qelValue reviewMonthName(int32_t month)
{
    return nameAt(monthNames, int32_t(std::size(monthNames)), month);
}

qelValue reviewCategoryName(int32_t category)
{
    return nameAt(categoryNames, int32_t(std::size(categoryNames)), category);
}

qelValue reviewOpenFile(const char* name, const char* extension)
{
    // A set that is not on the disk is no error: it has no lists.
    qelValue path = qelLocateFile(name, extension);
    return qelFileExists(path) ? qelOpenArchive(path, 0) : qelNil;
}

qelValue reviewSectionTable(bool use98)
{
    qelValue archive = reviewOpenFile(reviewSetFiles(use98).categories, "DTT");
    if (!qelArchiveOf(archive) || qelCount(archive) < 1)
        return qelNil;
    qelValue table = qelGet(archive, 0);
    return qelTableOf(table) ? table : qelNil;
}

qelValue reviewRecord(const qelValue& archive, int32_t n)
{
    if (!qelArchiveOf(archive) || n < 0 || n >= qelCount(archive))
        return qelNil;
    qelValue record = qelGet(archive, n);
    // Why: the positions read below must exist; a shorter record is not an article.
    if (!qelListObjectOf(record) || qelCount(record) <= review::bodyElement)
        return qelNil;
    return record;
}

qelValue reviewCategoryList(int32_t sectionKey, int32_t region, bool use98)
{
    bool byCategory = sectionKey <= review::monthKeyBase;
    int32_t groupElement = byCategory ? review::monthElement : review::categoryElement;
    qelValue table = reviewSectionTable(use98);
    qelValue key = qelMakeInt(sectionKey);
    if (table.isNil() || !qelContainsKey(table, key))
        return qelNil;
    qelValue numbers = qelGet(table, key);
    if (!qelListObjectOf(numbers))
        return qelNil;
    qelValue archive = reviewOpenFile(reviewSetFiles(use98).data, "DAT");
    if (!qelArchiveOf(archive))
        return qelNil;
    qelValue rows = qelMakeList(4, 100, QEL_GENERAL_LIST);
    int32_t last = 0;
    for (int32_t i = 0; i < qelCount(numbers); ++i) {
        qelValue record = reviewRecord(archive, qelIntAt(numbers, i));
        if (record.isNil() || qelIntAt(record, review::regionElement) != region)
            continue;
        int32_t group = qelIntAt(record, groupElement);
        if (group != last) {
            last = group;
            qelValue heading = byCategory ? reviewMonthName(group) : reviewCategoryName(group);
            // A group number outside the names heads nothing rather than a blank row.
            if (heading.isString())
                qelAddItem(rows, heading);
        }
        qelAddItem(rows, "->" + qelGet(record, review::titleElement));
    }
    return rows;
}
