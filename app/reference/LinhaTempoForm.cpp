#include "app/reference/LinhaTempoForm.h"

#include "framework/display/Region.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <climits>
#include <string>

namespace {

// The eras' button names, in era order; each era's picture is the property "<name>Img".
const char* const eraNames[LinhaTempoForm::eraCount] = {
    "BigBang",
    "PreHist\xf3ria",
    "Antiguidade",
    "IdadeM\xe9" "dia",
    "IdadeModerna",
    "IdadeContempor\xe2nea",
};

const char* const pagingButtons[] = { "PreviousPage", "PreviousLine", "NextLine", "NextPage" };

// Elements of an event (an archive item).
constexpr int32_t yearElement = 1;
constexpr int32_t textElement = 3;
constexpr int32_t eraElement = 4;

// An integer value, or the fallback for anything else (content that lacks a number must not
// end the program through the type error).
int32_t intOr(const qelValue& value, int32_t fallback)
{
    return value.type() == QEL_INT_TYPE ? int32_t(value.payload()) : fallback;
}

int32_t intProperty(qelControlObject* control, const char* key, int32_t fallback)
{
    return control ? intOr(qelResolve(control->getProperty(key)), fallback) : fallback;
}

// Element n of an archive item; nil for an item or element that is not there.
qelValue eventElement(const qelValue& archive, int32_t item, int32_t element)
{
    qelArchiveObject* object = qelArchiveOf(archive);
    if (!object || item < 0 || item >= object->count())
        return qelNil;
    qelValue event = object->get(item);
    if (!qelListObjectOf(event) || element >= qelCount(event))
        return qelNil;
    return qelGet(event, element);
}

qelValue table(std::initializer_list<std::pair<const char*, qelValue>> entries)
{
    qelValue result = qelTable(4, 100, 75);
    for (const auto& [key, value] : entries)
        qelPut(result, qelValue(key), value);
    return result;
}

} // namespace

const char* LinhaTempoForm::eraName(int32_t era)
{
    return era >= 0 && era < eraCount ? eraNames[era] : "";
}

qelValue LinhaTempoForm::control(const char* name)
{
    return qelResolve(getProperty(name));
}

qelValue LinhaTempoForm::eraButton(int32_t era)
{
    if (era < 0 || era >= eraCount)
        return qelNil;
    qelValue button = control(eraNames[era]);
    return qelControlOf(button) ? button : qelNil;
}

void LinhaTempoForm::open(const qelValue& data)
{
    loadResourceTable();
    m_viewerBounds = getProperty("ViewerBounds");
    // A disk without the timeline opens on the era picture with nothing to show.
    qelValue path = qelLocateFile("TimeLine", "dat");
    m_timelineArchive = qelLocatedFileExists(path) ? qelOpenArchive(path, 0) : qelNil;
    qelArchiveObject* archive = qelArchiveOf(m_timelineArchive);
    m_entryCount = archive ? archive->count() : 0;
    m_yearSign = 1;
    m_topLine = -1;
    BarraMenuForm::open(data);
    showYearSign();
    reenter(data);
}

void LinhaTempoForm::close()
{
    m_timelineArchive = qelNil;
    VLTextForm::close();
}

void LinhaTempoForm::reenter(const qelValue& data)
{
    qelTableObject* state = qelTableOf(data);
    if (!state)
        return;
    if (state->find("Begin") >= 0) {
        int32_t era = intOr(state->get("Era"), -1);
        // A state from elsewhere that names no era leaves the screen as it is.
        if (era < 0 || era >= eraCount)
            return;
        m_topLine = intOr(state->get("Index"), -1);
        m_yearSign = intOr(state->get("Multiplier"), 1) < 0 ? -1 : 1;
        showYearSign();
        m_eraBegin = intOr(state->get("Begin"), 0);
        m_eraEnd = intOr(state->get("End"), -1);
        m_era = era;
    } else {
        qelValue browse = state->get("BrowseList");
        qelValue index = state->get("Index");
        if (!qelListObjectOf(browse) || index.type() != QEL_INT_TYPE)
            return;
        int32_t position = int32_t(index.payload());
        // A position the list does not hold, or an event the archive lacks, shows nothing.
        if (position < 0 || position >= qelCount(browse))
            return;
        int32_t item = int32_t(uint32_t(intOr(qelGet(browse, position), 0)) & 0xFFFF);
        int32_t era = intOr(eventElement(m_timelineArchive, item, eraElement), 0) - 1;
        qelControlObject* button = qelControlOf(eraButton(era));
        if (!button)
            return;
        m_topLine = item;
        m_era = era;
        m_eraBegin = intProperty(button, "Begin", 0);
        m_eraEnd = intProperty(button, "End", -1);
    }
    showEraPicture(true);
    showList();
}

qelValue LinhaTempoForm::historyText()
{
    return table({
        { "History Text", qelValue("Linha do Tempo: ") + eraName(m_era) },
        { "Index", qelMakeInt(m_topLine) },
        { "Multiplier", qelMakeInt(m_yearSign) },
        { "Begin", qelMakeInt(m_eraBegin) },
        { "End", qelMakeInt(m_eraEnd) },
        { "Era", qelMakeInt(m_era) },
    });
}

void LinhaTempoForm::draw()
{
    if (m_topLine < 0)
        return;
    for (int32_t k = 1; k <= lineCount; ++k) {
        int32_t item = m_topLine + k - 1;
        if (item > m_eraEnd)
            break;
        qelValue line = control(("Texto" + std::to_string(k)).c_str());
        qelControlObject* object = qelControlOf(line);
        if (!object)
            continue;
        qelValue text = eventElement(m_timelineArchive, item, textElement);
        object->setProperty("Disabled", qelFalse);
        qelPerform(line, "SetText", text.isString() ? text : qelValue(" "));
        qelPerformAction(line, "Draw");
    }
}

void LinhaTempoForm::showEraPicture(bool disable)
{
    for (int32_t k = 1; k <= lineCount; ++k) {
        qelValue line = control(("Texto" + std::to_string(k)).c_str());
        if (qelControlObject* object = qelControlOf(line)) {
            object->setProperty("Disabled", qelTrue);
            qelPerformAction(line, "Draw");
        }
    }
    qelValue group = control("ControlGroup");
    for (int32_t i = 0; qelListObjectOf(group) && i < qelCount(group); ++i) {
        qelValue member = qelResolve(qelGet(group, i));
        // The group may name its controls or hold them.
        if (member.isString())
            member = control(qelCString(member));
        if (qelControlObject* object = qelControlOf(member))
            object->setProperty("Disabled", disable ? qelTrue : qelFalse);
    }
    qelValue background = control("CompBackground");
    if (qelControlObject* object = qelControlOf(background)) {
        object->setProperty("Disabled", qelTrue);
        qelPerformAction(background, "Draw");
    }
}

void LinhaTempoForm::showYearSign()
{
    // The choice the screen shows must be the one the search uses: a restored sign changes it
    // without the user pressing either.
    qelPerform(control("AC"), "Select", m_yearSign < 0 ? qelTrue : qelFalse);
    qelPerform(control("DC"), "Select", m_yearSign < 0 ? qelFalse : qelTrue);
}

void LinhaTempoForm::showPaging(bool on)
{
    for (const char* name : pagingButtons) {
        qelValue button = control(name);
        if (qelControlObject* object = qelControlOf(button)) {
            object->setProperty("Disabled", on ? qelFalse : qelTrue);
            qelPerformAction(button, "Draw");
        }
    }
}

void LinhaTempoForm::showList()
{
    qelValue background = control("CompBackground");
    if (qelControlObject* object = qelControlOf(background)) {
        object->setProperty("Image", getProperty(qelValue(eraName(m_era)) + "Img"));
        object->setProperty("Disabled", qelFalse);
        qelPerformAction(background, "Draw");
    }
    showPaging(true);
    draw();
}

void LinhaTempoForm::showEra(const qelValue& button)
{
    qelControlObject* object = qelControlOf(button);
    int32_t era = intProperty(object, "TypeID", -1);
    // Why: the era indexes the table of names; a button out of that range is not an era.
    if (era < 0 || era >= eraCount)
        return;
    m_era = era;
    m_eraBegin = intProperty(object, "Begin", 0);
    m_eraEnd = intProperty(object, "End", -1);
    if (m_topLine < 0)
        m_topLine = m_eraBegin;
    showEraPicture(true);
    showList();
}

void LinhaTempoForm::move(int32_t lines)
{
    // The paging buttons are off on the era picture; a move there has no page to move.
    if (m_topLine < 0)
        return;
    m_topLine += lines;
    if (m_topLine < m_eraBegin && m_era > 0) {
        qelValue previous = eraButton(m_era - 1);
        qelControlObject* object = qelControlOf(previous);
        if (!object) {
            m_topLine -= lines;
            return;
        }
        int32_t begin = intProperty(object, "Begin", 0);
        int32_t end = intProperty(object, "End", -1);
        // An era of twelve events or more ends its page on its last event; a shorter one starts
        // at its first.
        m_topLine = end - begin < lineCount - 1 ? -1 : end - (lineCount - 1);
        showEra(previous);
        return;
    }
    if (m_topLine > m_eraEnd) {
        if (m_era < eraCount - 1 && !eraButton(m_era + 1).isNil()) {
            m_topLine = -1;
            showEra(eraButton(m_era + 1));
        } else {
            m_topLine -= lines;
            showEra(eraButton(m_era));
        }
        return;
    }
    showEra(eraButton(m_era));
}

void LinhaTempoForm::searchYear()
{
    int32_t year = timelineTypedYear(qelPerformAction(control("What2Find"), "getText"), m_yearSign);
    if (m_entryCount <= 0)
        return;
    TimelineStop stop = timelineFindYear(m_timelineArchive, m_entryCount, year);
    qelValue button = eraButton(stop.era);
    if (button.isNil())
        return;
    m_topLine = timelinePageStart(stop.item, m_entryCount);
    showEra(button);
}

void LinhaTempoForm::handleControl(const qelValue& controlValue)
{
    qelControlObject* object = qelControlOf(controlValue);
    if (object && object->hasProperty("TypeID")) {
        showEra(controlValue);
        return;
    }
    if (object && object->hasProperty("Move")) {
        move(intProperty(object, "Move", 0));
        return;
    }
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    if (name == "IrPara") {
        searchYear();
    } else if (name == "AC") {
        m_yearSign = -1;
    } else if (name == "DC") {
        m_yearSign = 1;
    } else {
        VLTextForm::handleControl(controlValue);
    }
}

void LinhaTempoForm::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    int32_t localX = x;
    int32_t localY = y;
    globalToLocal(localX, localY);
    if (m_topLine >= 0 && !m_viewerBounds.isNil() && !qelContainsPoint(m_viewerBounds, localX, localY)) {
        showEraPicture(false);
        showPaging(false);
        m_topLine = -1;
        return;
    }
    VLTextForm::mouseDown(x, y, modifiers, clicks);
}

int32_t timelineTypedYear(const qelValue& text, int32_t sign)
{
    if (!text.isString())
        return 0;
    std::string typed(qelCString(text), size_t(qelCount(text)));
    if (typed.size() == 11)
        typed.resize(9);
    size_t at = 0;
    while (at < typed.size() && (typed[at] == ' ' || (typed[at] >= '\t' && typed[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < typed.size() && (typed[at] == '+' || typed[at] == '-'))
        negative = typed[at++] == '-';
    // Why: the digits are summed in 64 bits and held at the 32-bit limit, so a long run of
    // digits can neither overflow nor wrap into a year of the other era.
    int64_t value = 0;
    for (; at < typed.size() && typed[at] >= '0' && typed[at] <= '9'; ++at)
        value = std::min<int64_t>(value * 10 + (typed[at] - '0'), INT32_MAX);
    if (negative)
        value = -value;
    return int32_t(value * (sign < 0 ? -1 : 1));
}

TimelineStop timelineFindYear(const qelValue& archive, int32_t count, int32_t year)
{
    TimelineStop stop;
    qelArchiveObject* object = qelArchiveOf(archive);
    if (!object || count <= 0)
        return stop;
    int32_t item = 0;
    for (; item < count; ++item) {
        qelValue event = object->get(item);
        if (!qelListObjectOf(event) || qelCount(event) <= yearElement)
            continue;
        qelValue eventYear = qelGet(event, yearElement);
        if (eventYear.type() == QEL_INT_TYPE && int32_t(eventYear.payload()) >= year)
            break;
    }
    stop.item = item;
    stop.era = intOr(eventElement(archive, item < count ? item : count - 1, eraElement), 0) - 1;
    return stop;
}

int32_t timelinePageStart(int32_t item, int32_t count)
{
    // Why: a timeline shorter than a page would otherwise start its page before item 0.
    if (item >= count - (LinhaTempoForm::lineCount - 1))
        item = count - LinhaTempoForm::lineCount;
    return item < 0 ? 0 : item;
}
