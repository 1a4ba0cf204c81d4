// The searched words struck through in an entry's rich text: whole words and prefixes, accents
// and case, phrases, the stray pieces of a query, links struck whole so they keep working, words
// of the query in any order, and a long entry with many matches marked in one pass.

#include "app/reference/SearchMarks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* what;
    const char* text;
    const char* searched;
    const char* expected;
};

const Case cases[] = {
    { "a whole word", "O rio corre.", "rio", "O {\\strike rio} corre." },
    { "not the start of a longer word", "Os rios correm.", "rio", "Os rios correm." },
    { "not the end of a longer word", "Barrio rio", "rio", "Barrio {\\strike rio}" },
    { "a prefix", "Os rios correm.", "rio*", "Os {\\strike rio}s correm." },
    { "a prefix holds for the later words", "brasileiros e rios", "bras* rio",
        "{\\strike bras}ileiros e {\\strike rio}s" },
    { "not for the earlier ones", "rios e brasileiros", "rio bras*", "rios e {\\strike bras}ileiros" },
    { "accents and case of the text", "A \xC1gua do RIO", "agua rio", "A {\\strike \xC1gua} do {\\strike RIO}" },
    { "accents and case of the query", "A agua do rio", "\xC1GUA", "A {\\strike agua} do rio" },
    { "a phrase", "Rio de Janeiro e rio", "(rio de janeiro)", "{\\strike Rio de Janeiro} e rio" },
    { "a phrase needs its words together", "rio e janeiro", "(rio janeiro)", "rio e janeiro" },
    { "a phrase left open ends with the query", "Rio de Janeiro", "(rio de", "{\\strike Rio de} Janeiro" },
    { "one word in parentheses", "o rio", "(rio)", "o {\\strike rio}" },
    { "blanks around and between words", "o rio e o mar", "  rio   mar ", "o {\\strike rio} e o {\\strike mar}" },
    { "a lone star makes the rest prefixes", "Os rios", "* () rio", "Os {\\strike rio}s" },
    { "nothing searched", "o rio", "", "o rio" },
    { "only blanks searched", "o rio", "   ", "o rio" },
    { "no text", "", "rio", "" },
    { "what may stand around a word", "(rio), \"rio\"; grande-rio-mar rio? rio! rio.",
        "rio",
        "({\\strike rio}), \"{\\strike rio}\"; grande-{\\strike rio}-mar {\\strike rio}? {\\strike rio}! "
        "{\\strike rio}." },
    { "a word in braces", "{\\b Rio}\\par", "rio", "{\\b {\\strike Rio}}\\par" },
    { "the shown words of a link strike the whole link",
        "Veja o {\\uldb Brasil}!\\{jump:VerbeteForm;brasil\\} hoje.", "brasil",
        "Veja o {\\strike {\\uldb Brasil}!\\{jump:VerbeteForm;brasil\\}} hoje." },
    { "a word of a link's target alone is not struck", "a {\\uldb capital}!\\{jump:VerbeteForm;brasil\\}.",
        "brasil", "a {\\uldb capital}!\\{jump:VerbeteForm;brasil\\}." },
    { "two links, the second struck", "{\\uldb Rio}!\\{foto:x\\} e {\\uldb Mar}!\\{foto:y\\}", "mar",
        "{\\uldb Rio}!\\{foto:x\\} e {\\strike {\\uldb Mar}!\\{foto:y\\}}" },
    { "a stray link end without its start is a plain match", "rio}! fim", "rio", "{\\strike rio}}! fim" },
    { "a link end without the target's brace is a plain match", "{\\uldb rio}!", "rio",
        "{\\uldb {\\strike rio}}!" },
    { "the words of a query in any order", "O rio e o Janeiro e o rio.", "janeiro rio",
        "O {\\strike rio} e o {\\strike Janeiro} e o {\\strike rio}." },
    { "at one place the longer term", "Rio de Janeiro", "rio (rio de janeiro)", "{\\strike Rio de Janeiro}" },
    { "a match that does not count is passed over", "rios rio", "rio", "rios {\\strike rio}" },
};

TEST(SearchMarks, TableOfRichTextCases)
{
    for (const Case& c : cases)
        EXPECT_EQ(markSearchWords(c.text, c.searched), c.expected) << c.what;
}

TEST(SearchMarks, ALongEntryWithManyMatchesIsMarkedWhole)
{
    // About 100 KB with 1,000 matches, among links and words that only start like the one
    // searched.
    std::string text;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        std::string filler = "Texto corrido sobre riachos, rios e mares do pa\xEDs, com n\xFAmeros e datas; ";
        while (filler.size() < 90)
            filler += "mais texto ";
        text += filler + "o rio " + "{\\uldb mapa}!\\{mapa:x\\} ";
        expected += filler + "o {\\strike rio} " + "{\\uldb mapa}!\\{mapa:x\\} ";
    }
    ASSERT_GT(text.size(), 100000u);
    EXPECT_EQ(markSearchWords(text, "rio"), expected);
}

} // namespace
