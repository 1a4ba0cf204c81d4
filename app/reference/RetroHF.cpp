#include "app/reference/RetroHF.h"

#include "app/reference/ReviewLists.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"

namespace {

constexpr int32_t categoryCount = 10;
constexpr int32_t monthCount = 12;

qelValue flag(int32_t on)
{
    return on ? qelTrue : qelFalse;
}

bool beginsWithArrow(const qelValue& text)
{
    return text.isString() && qelCount(text) >= 2 && qelFindString(text, "->", 0) == 0;
}

} // namespace

qelValue RetrospectivaHF::extraPictureKey(const qelValue& controlName)
{
    if (!controlName.isString())
        return qelNil;
    return qelFoldText(qelLeft(controlName, 3)) + qelValue("VLSB");
}

void RetrospectivaHF::open(const qelValue& data)
{
    m_firstClickPending = 1;
    loadSections(data);
    BarraMenuForm::open(data);
}

void RetrospectivaHF::reenter(const qelValue& data)
{
    loadSections(data);
    draw();
}

qelValue RetrospectivaHF::historyText()
{
    qelValue table = qelTable(2, 100, 75);
    qelPut(table, qelValue("History Text"), qelValue("Tela inicial da Retrospectiva"));
    qelPut(table, qelValue("Retro98"), flag(m_reviewSet));
    return table;
}

void RetrospectivaHF::setSectionEnabled(const qelValue& name, bool enabled)
{
    qelValue control = qelResolve(getProperty(name));
    // Enabling and disabling only marks the control; the form's next drawing shows it.
    if (qelControlOf(control))
        qelPut(control, qelValue("Disabled"), enabled ? qelFalse : qelTrue);
}

void RetrospectivaHF::loadSections(const qelValue& data)
{
    m_firstClickPending = 1;
    loadResourceTable();
    const ReviewSetFiles& files98 = reviewSetFiles(true);
    bool has98 = qelFileExists(qelLocateFile(files98.categories, "dtt"));
    setSectionEnabled("Retro98", has98);

    bool want98 = data == "Retro98" || (qelTableOf(data) && qelIsTrue(qelGet(data, "Retro98")));
    // A "Retro98" request whose category list cannot be read (a history entry from a disk that
    // had the set) shows the "Retro" set instead of a screen with every section disabled.
    qelValue sections = want98 ? reviewSectionTable(true) : qelNil;
    if (!sections.isNil()) {
        for (int32_t i = 1; i <= categoryCount; ++i)
            setSectionEnabled(reviewCategoryName(i), qelContainsKey(sections, qelMakeInt(i)) != 0);
        for (int32_t m = 1; m <= monthCount; ++m)
            setSectionEnabled(
                reviewMonthName(m), qelContainsKey(sections, qelMakeInt(review::monthKeyBase + m)) != 0);
        setSectionEnabled("Retro98", false);
        m_reviewSet = 1;
        setProperty("Background Image", getProperty("Retro98Bk"));
        return;
    }
    for (int32_t i = 1; i <= categoryCount; ++i)
        setSectionEnabled(reviewCategoryName(i), true);
    for (int32_t m = 1; m <= monthCount; ++m)
        setSectionEnabled(reviewMonthName(m), true);
    m_reviewSet = 0;
    setProperty("Background Image", getProperty("RetroBk"));
}

void RetrospectivaHF::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (object && object->hasProperty("CatID")) {
        openSection(control);
        return;
    }
    if (object && qelResolve(object->getProperty("Name")) == "Retro98") {
        goToForm("RetrospectivaHF", "Retro98");
        return;
    }
    BarraMenuForm::handleControl(control);
}

void RetrospectivaHF::openSection(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (m_firstClickPending) {
        // The section's name band is drawn once, at the first click after the screen was filled.
        // A screen without that picture still opens the section's list.
        qelValue picture = qelResolve(getProperty("SectionName Image"));
        if (!picture.isNil()) {
            qelShowImageAt(picture, getInt("SectionNameX", 0), getInt("SectionNameY", 0), 0, 0, 0, 0);
            qelRefreshWindowArea(0, 0, 0, 0);
            qelValue retro98 = qelResolve(getProperty("Retro98"));
            if (qelControlOf(retro98))
                qelPerformAction(retro98, "Draw");
        }
        m_firstClickPending = 0;
    }

    qelValue name = qelResolve(object->getProperty("Name"));
    qelValue images = qelCopy(qelResolve(object->getProperty("AddedImage")));
    qelValue extraKey = extraPictureKey(name);
    if (!extraKey.isNil() && hasProperty(extraKey)) {
        if (!qelListObjectOf(images)) {
            qelValue first = images;
            images = qelMakeList(4, 100, QEL_GENERAL_LIST);
            if (!first.isNil())
                qelAddItem(images, first);
        }
        qelAddItem(images, getProperty(extraKey));
    }

    if (!qelTableOf(m_subMenus))
        m_subMenus = qelTable(4, 100, 75);
    qelValue catId = qelResolve(object->getProperty("CatID"));
    qelPut(m_subMenus, qelValue("AddedImage"), images);
    qelPut(m_subMenus, qelValue("SCatID"), catId);
    qelPut(m_subMenus, qelValue("Retro98"), flag(m_reviewSet));

    qelValue result = qelRunDialog("RetroDlg", m_subMenus);
    if (!qelTableOf(result) || !beginsWithArrow(qelGet(result, "Text")))
        return;
    qelPut(result, qelValue("Retro98"), flag(m_reviewSet));
    qelPut(result, qelValue("Mes"), flag(qelIntValue(catId) > review::monthKeyBase));
    goToForm("RetroForm", result);
}
