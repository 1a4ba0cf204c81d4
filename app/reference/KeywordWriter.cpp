#include "app/reference/KeywordWriter.h"

#include "app/reference/SearchEngine.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/HexDigit.h"
#include "framework/runtime/List.h"
#include "recdb/index/IndexObject.h"

#include <cstdio>

namespace {

// Why: the index keeps a key of up to 240 characters whole and cuts a longer one to 239, so two
// long words could meet in one key; cutting here keeps one key per list.
constexpr size_t longestWord = 239;

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

std::string KeywordWriter::plainText(const std::string& rtf)
{
    std::string out;
    out.reserve(rtf.size());
    size_t i = 0;
    while (i < rtf.size()) {
        char c = rtf[i];
        // A link's target, "!\{type:target\}", is hidden from the reader.
        if (c == '!' && rtf.compare(i + 1, 2, "\\{") == 0) {
            size_t end = rtf.find("\\}", i + 3);
            i = end == std::string::npos ? rtf.size() : end + 2;
            out += ' ';
            continue;
        }
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= rtf.size())
            break;
        char next = rtf[i];
        if (next == '\'' && i + 2 < rtf.size() && qelHexDigitValue(rtf[i + 1]) >= 0
            && qelHexDigitValue(rtf[i + 2]) >= 0) {
            out += char(qelHexDigitValue(rtf[i + 1]) * 16 + qelHexDigitValue(rtf[i + 2]));
            i += 3;
            continue;
        }
        if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
            while (i < rtf.size() && ((rtf[i] >= 'a' && rtf[i] <= 'z') || (rtf[i] >= 'A' && rtf[i] <= 'Z')))
                ++i;
            if (i < rtf.size() && rtf[i] == '-')
                ++i;
            while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9')
                ++i;
            if (i < rtf.size() && rtf[i] == ' ')
                ++i;
            out += ' ';
            continue;
        }
        // A control symbol: the escaped character itself.
        out += next;
        ++i;
    }
    return out;
}

std::vector<std::string> KeywordWriter::wordsOf(const std::string& text)
{
    std::string folded = SearchEngine::foldQuery(text);
    std::vector<std::string> words;
    size_t i = 0;
    while (i < folded.size()) {
        while (i < folded.size() && !isWordChar(folded[i]))
            ++i;
        size_t start = i;
        while (i < folded.size() && isWordChar(folded[i]))
            ++i;
        if (i > start)
            words.push_back(folded.substr(start, std::min(i - start, longestWord)));
    }
    return words;
}

void KeywordWriter::addText(int32_t packedId, const std::string& text)
{
    m_all.insert(packedId);
    for (std::string& word : wordsOf(text))
        m_postings[word].insert(packedId);
}

void KeywordWriter::addRichText(int32_t packedId, const std::string& rtf)
{
    addText(packedId, plainText(rtf));
}

bool KeywordWriter::write(const std::string& indexPath, const std::string& archivePath, std::string& error) const
{
    std::map<std::string, const std::set<int32_t>*> lists;
    for (const auto& [word, ids] : m_postings)
        lists[word] = &ids;
    // "all" lists every item; a text word "all" is then the same list.
    lists["all"] = &m_all;

    std::remove(archivePath.c_str());
    qelValue archive = qelCreateArchive(qelValue(archivePath.c_str()), int32_t(lists.size()) + 1);
    qelArchiveObject* archiveObject = qelArchiveOf(archive);
    std::remove(indexPath.c_str());
    qelValue index = qelCreateIndex(qelValue(indexPath.c_str()));
    qelIndexObject* indexObject = qelIndexObjectOf(index);
    if (!archiveObject || !indexObject) {
        error = "cannot create " + indexPath + " and " + archivePath;
        return false;
    }
    int32_t item = 0;
    for (const auto& [word, ids] : lists) {
        qelValue list = qelMakeList(int32_t(ids->size()) + 1, 100, QEL_INT_LIST);
        int64_t previous = INT64_MIN;
        for (int32_t id : *ids) {
            if (int64_t(id) <= previous) {
                error = "the list of \"" + word + "\" is not strictly ascending";
                return false;
            }
            previous = id;
            qelListObjectOf(list)->append(qelValue(id));
        }
        archiveObject->add(list);
        indexObject->put(qelValue(word.c_str()), qelValue(item));
        ++item;
    }
    if (!archiveObject->flush()) {
        error = "cannot write " + archivePath;
        return false;
    }
    return true;
}
