// The result table's texts and its printout's pages: the title of a region or bloc search, the
// page labels of the bands, and how many pages of rows a printout takes.

#include "app/atlas/database/BDadosForm.h"
#include "framework/runtime/StringObject.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const qelValue& value)
{
    return value.isString() ? qelCString(value) : "nil";
}

TEST(BDadosForm, TheTitleNamesTheRegionOrBloc)
{
    struct Case {
        const char* kind;
        const char* condition;
        const char* title;
    };
    const Case cases[] = {
        { "Pa\xEDses", nullptr, "Minha Pesquisa" },
        { "Estados", nullptr, "Minha Pesquisa" },
        { "Regi\xE3o", "Sul", "Sul - Minha Pesquisa" },
        { "Bloco econ\xF4mico", "Mercosul", "Mercosul - Minha Pesquisa" },
        { "Bloco econ\xF4mico", "Uni\xE3o Europ\xE9ia", "U.E. - Minha Pesquisa" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(BDadosForm::resultTitle(qelValue(c.kind), c.condition ? qelValue(c.condition) : qelNil,
                      qelValue("Minha Pesquisa"))),
            c.title)
            << c.kind;
}

TEST(BDadosForm, PageLabelsLetterTheBands)
{
    EXPECT_EQ(text(BDadosForm::pageLabel(1, 0, 2)), "P\xE1gina 1  de 2");
    EXPECT_EQ(text(BDadosForm::pageLabel(1, 1, 2)), "P\xE1gina 1a de 2");
    EXPECT_EQ(text(BDadosForm::pageLabel(2, 2, 2)), "P\xE1gina 2b de 2");
    // The letters skip "w" and end at "z"; bands past them go on in two letters.
    EXPECT_EQ(text(BDadosForm::pageLabel(3, 23, 9)), "P\xE1gina 3x de 9");
    EXPECT_EQ(text(BDadosForm::pageLabel(3, 25, 9)), "P\xE1gina 3z de 9");
    EXPECT_EQ(text(BDadosForm::pageLabel(3, 26, 9)), "P\xE1gina 3aa de 9");
    EXPECT_EQ(text(BDadosForm::pageLabel(3, 27, 9)), "P\xE1gina 3ab de 9");
}

TEST(BDadosForm, PagesOfRowsHaveNoEmptyLastPage)
{
    struct Case {
        int records, rowsPerPage, pages;
    };
    const Case cases[] = { { 0, 29, 1 }, { 1, 29, 1 }, { 29, 29, 1 }, { 30, 29, 2 }, { 58, 29, 2 }, { 59, 29, 3 },
        // Rows taller than the page still print one a page.
        { 3, 0, 3 } };
    for (const Case& c : cases)
        EXPECT_EQ(BDadosForm::rowPageCount(c.records, c.rowsPerPage), c.pages) << c.records << " / " << c.rowsPerPage;
}

} // namespace
