#include "app/atlas/AtlasForm.h"

#include "app/atlas/AtlasThemes.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/TextPage.h"
#include "framework/display/Cursor.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"
#include "framework/ui/StaticText.h"

#include <string>

namespace {

// The atlas's kind in DBLists and the media library's.
constexpr int32_t atlasKind = 4;
constexpr int32_t mediaKind = 1;

// The mouse-down, mouse-up, key-down and key-up events: what a click or key made while a map
// was being drawn left in the queue.
constexpr int32_t queuedInput = 0x3A0;

// The two countries with a regional map of their own, and the maps their buttons open (cp1252).
const char* const unitedStates = "Estados Unidos";
const char* const unitedStatesEast = "Estados Unidos, costa leste";
const char* const russia = "Federa\xE7\xE3o Russa";
const char* const russiaWest = "Federa\xE7\xE3o Russa, parte ocidental";

// The notice of the printed map's footer; the page number follows after six blanks.
const char* const printNotice = "Velarim 98 - Atlas. Fronteiras de Natural Earth (dom\xEDnio p\xFA" "blico).";

bool isEmptyText(const qelValue& value)
{
    return value.isNil() || (value.isString() && qelCount(value) == 0) || !value.isString();
}

bool holdsText(const qelValue& value)
{
    return value.type() == QEL_TABLE_TYPE && qelContainsKey(value, "Text");
}

void setWaitCursor()
{
    qelEnvironmentServices& services = qelServices();
    services.setCursor(services.waitCursor());
}

} // namespace

PicturePage atlasMapPage(const qelValue& picture, const qelValue& title)
{
    PicturePage page;
    page.documentName = "VL98 - Mapa";
    page.headerText = qelValue("Velarim 98 - ") + (title.isString() ? title : qelValue(""));
    page.footerPrefix = qelValue(printNotice) + "      ";
    page.picture = picture;
    return page;
}

qelValue AtlasForm::control(const char* name)
{
    qelValue value = qelResolve(getProperty(name));
    return qelControlOf(value) ? value : qelNil;
}

void AtlasForm::setControlProperty(const char* name, const char* key, const qelValue& value)
{
    if (qelControlObject* object = qelControlOf(control(name)))
        object->setProperty(key, value);
}

void AtlasForm::setButtonImages(const qelValue& button, const char* up, const char* over, const char* down)
{
    qelControlObject* object = qelControlOf(button);
    if (!object)
        return;
    object->setProperty("UpImage", getProperty(up));
    object->setProperty("RolloverImage", getProperty(over));
    object->setProperty("DownImage", getProperty(down));
}

qelValue AtlasForm::mapItem(int32_t n) const
{
    if (m_mapRecord.type() != QEL_LIST_TYPE || n < 0 || n >= qelCount(m_mapRecord))
        return qelNil;
    return qelGet(m_mapRecord, n);
}

qelValue AtlasForm::countryName() const
{
    qelValue name = mapItem(1);
    if (name == unitedStatesEast)
        return qelValue(unitedStates);
    if (name == russiaWest)
        return qelValue(russia);
    return name;
}

void AtlasForm::loadMapRecord(int32_t id)
{
    qelValue record = DBLists::instance().record(id, atlasKind);
    // A record that cannot be read gives an empty page rather than a page of another map.
    m_mapRecord = record.type() == QEL_LIST_TYPE ? record : qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_shownId = id;
}

bool AtlasForm::loadMediaRecord(const qelValue& file)
{
    if (!file.isString())
        return false;
    int32_t id = DBLists::instance().idOfName("MDB_FNAME", file);
    if (id < 0)
        return false;
    m_mediaRecord = DBLists::instance().record(id, mediaKind);
    return m_mediaRecord.type() == QEL_LIST_TYPE;
}

void AtlasForm::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    m_mapIndex = 0;
    m_countryPanelShown = 0;
    m_shownId = -1;
    loadResourceTable();
    qelValue name = holdsText(data) ? qelGet(data, "Text") : data;
    setMap(name);
    m_underXMarker = qelNil;
    m_underYMarker = qelNil;
    setUpMarkers();
    BarraMenuForm::open(name);
}

void AtlasForm::reenter(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    setControlProperty(unitedStates, "Disabled", qelTrue);
    setControlProperty(russia, "Disabled", qelTrue);
    qelValue name = data;
    if (holdsText(data)) {
        if (qelContainsKey(data, "MCDataShown"))
            m_countryPanelShown = qelIsTrue(qelGet(data, "MCDataShown")) ? 1 : 0;
        name = qelGet(data, "Text");
    }
    m_underXMarker = qelNil;
    m_underYMarker = qelNil;
    setMap(name);
    setUpMarkers();
    draw();
}

void AtlasForm::setMap(const qelValue& data)
{
    int32_t id = 0;
    if (data.isString()) {
        id = DBLists::instance().idOfName("DBL_IDLIST", qelLowerCase(data));
        // A name the atlas does not hold keeps the map shown (the first one on a new page).
        if (id < 0)
            id = m_shownId >= 0 ? m_shownId : 0;
    }
    loadMapRecord(id);

    qelValue category = mapItem(2);
    int32_t n = category.isNil() ? 0 : qelIntValue(category);
    std::string key = "Cat" + std::to_string(n);
    setProperty("Background Image", getProperty((key + " BkImage").c_str()));
    qelValue label = control("SCategName");
    if (qelControlObject* object = qelControlOf(label)) {
        object->setProperty("Foreground Color", getProperty((key + " TxColor").c_str()));
        qelPerformAction(label, "Initialize");
    }
    if (n != m_categoryId) {
        m_categoryId = n;
        m_currentCategory = getProperty(key.c_str());
    }
    setControlProperty(unitedStates, "Disabled", qelMakeBoolean(data == unitedStates ? 0 : 1));
    setControlProperty(russia, "Disabled", qelMakeBoolean(data == russia ? 0 : 1));

    m_categoryMaps = loadATCatList(n, 1);
    m_mapIndex = 0;
    if (m_categoryMaps.type() == QEL_LIST_TYPE) {
        m_mapIndex = qelIndexOf(m_categoryMaps, qelMakeInt(id));
        if (m_mapIndex < 0)
            m_mapIndex = 0;
    }
}

void AtlasForm::setUpMarkers()
{
    const char* prefix = mapItem(2) == qelMakeInt(1) ? "BLoc" : "MLoc";
    std::string p = prefix;
    m_xMarkerImage = qelLoadImageResource(qelResolve(getProperty((p + "XI").c_str())));
    m_yMarkerImage = qelLoadImageResource(qelResolve(getProperty((p + "YI").c_str())));
    m_yMarkerX = getInt((p + "XPos").c_str(), 0);
    m_xMarkerY = getInt((p + "YPos").c_str(), 0);
}

void AtlasForm::draw()
{
    qelValue self = qelFormValue(this);
    setControlProperty("HinoButton", "Disabled", qelMakeBoolean(isEmptyText(mapItem(5)) ? 1 : 0));

    qelValue countryText = control("CountryDataText");
    qelPerformAction(countryText, "Initialize");
    qelPerform(countryText, "SetText", mapItem(6));
    qelValue texto = control("Texto");
    qelPerformAction(texto, "Initialize");
    if (auto* label = dynamic_cast<StaticText*>(qelControlOf(control("SCategName"))))
        label->setText(mapItem(1).isString() ? mapItem(1) : qelValue(" "), 1);

    qelValue more = mapItem(7);
    qelValue panelButton = control("MoreCountryData");
    if (m_countryPanelShown && !isEmptyText(more)) {
        qelPerform(texto, "SetText", more);
        setControlProperty("Texto", "Hidden", qelFalse);
        setButtonImages(panelButton, "VerMapaUp", "VerMapaRO", "VerMapaDn");
    } else {
        qelPerform(texto, "SetText", qelValue(" "));
        setControlProperty("Texto", "Hidden", qelTrue);
        setButtonImages(panelButton, "MCDataUp", "MCDataRO", "MCDataDn");
    }

    // The map, centred in "MapaAdjust"; a map whose media record is missing shows nothing.
    qelValue picture = loadMediaRecord(mapItem(4)) ? qelGet(m_mediaRecord, 7) : qelNil;
    qelValue area = control("MapaAdjust");
    if (qelControlObject* mapa = qelControlOf(control("Mapa"))) {
        bool hasPicture = picture.type() == QEL_IMAGE_TYPE && !area.isNil();
        if (hasPicture) {
            mapa->setProperty("X", qelMakeInt(qelLeft(area) + (qelWidth(area) - qelWidth(picture)) / 2));
            mapa->setProperty("Y", qelMakeInt(qelTop(area) + (qelHeight(area) - qelHeight(picture)) / 2));
            mapa->setProperty("Image", picture);
        }
        mapa->setProperty("Hidden", qelMakeBoolean(m_countryPanelShown || !hasPicture ? 1 : 0));
    }
    showFlag(mapItem(3));

    BarraMenuForm::draw();
    drawMarkers();
}

void AtlasForm::drawMarkers()
{
    // Only the markers' own rectangles move: what lay under them is put back, then grabbed at the
    // new places.
    if (!m_underXMarker.isNil())
        qelShowImageAt(m_underXMarker, m_xMarkerX, m_xMarkerY, 0, 0, 0, 0);
    if (!m_underYMarker.isNil())
        qelShowImageAt(m_underYMarker, m_yMarkerX, m_yMarkerY, 0, 0, 0, 0);
    qelRefreshWindowArea(0, 0, 0, 0);
    qelValue x = mapItem(8);
    qelValue y = mapItem(9);
    m_xMarkerX = x.isNil() ? 0 : qelIntValue(x);
    m_yMarkerY = y.isNil() ? 0 : qelIntValue(y);
    m_underXMarker = qelNil;
    m_underYMarker = qelNil;
    if (m_xMarkerImage.type() == QEL_IMAGE_TYPE) {
        m_underXMarker = qelGrabWindowImage(m_xMarkerX, m_xMarkerY, qelWidth(m_xMarkerImage), qelHeight(m_xMarkerImage));
        qelShowImageAt(m_xMarkerImage, m_xMarkerX, m_xMarkerY, 0, 0, 0, 0);
    }
    if (m_yMarkerImage.type() == QEL_IMAGE_TYPE) {
        m_underYMarker = qelGrabWindowImage(m_yMarkerX, m_yMarkerY, qelWidth(m_yMarkerImage), qelHeight(m_yMarkerImage));
        qelShowImageAt(m_yMarkerImage, m_yMarkerX, m_yMarkerY, 0, 0, 0, 0);
    }
}

void AtlasForm::showFlag(const qelValue& flagFile)
{
    qelValue picture = qelNil;
    if (flagFile.isString() && !(flagFile == "noflag") && loadMediaRecord(flagFile))
        picture = qelGet(m_mediaRecord, 6);
    // No flag, or a flag the media library does not hold: the "no flag" picture.
    if (picture.type() != QEL_IMAGE_TYPE)
        picture = qelLoadImageResource(qelValue("NoFlag"));
    setControlProperty("Bandeira", "Image", picture);
}

void AtlasForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "PrevMapa") {
        previousMap();
    } else if (name == "NextMapa") {
        nextMap();
    } else if (name == "MCategName" && !m_categoryMenus.isNil()) {
        qelValue choice = qelRunDialog("PopUpMenu1", m_categoryMenus);
        if (choice.type() == QEL_TABLE_TYPE && qelContainsKey(choice, "Index")) {
            qelPerformAction(this->control("SCategName"), "DiscardBK");
            chooseTheme(choice);
        }
    } else if (name == "Imprimir") {
        if (m_countryPanelShown) {
            print();
        } else {
            qelValue picture = loadMediaRecord(mapItem(4)) ? qelGet(m_mediaRecord, 7) : qelNil;
            printMap(picture, mapItem(1));
        }
    } else if (name == "Copiar") {
        if (m_countryPanelShown)
            copyText(countryName(), mapItem(7));
        else
            copyMap();
    } else if (name == "MidiaZoom") {
        loadMediaRecord(mapItem(3));
    } else if (name == "GotoVerbete") {
        openLink(qelValue("VerbeteForm;") + countryName());
    } else if (name == unitedStates) {
        goToForm("AtlasForm", qelValue(unitedStatesEast));
    } else if (name == russia) {
        goToForm("AtlasForm", qelValue(russiaWest));
    } else if (name == "MoreCountryData") {
        toggleCountryPanel(control);
    } else if (name == "HinoButton") {
        if (!isEmptyText(mapItem(5)))
            qelMediaFormObject::playSound(qelValue("Sounds\\") + mapItem(5) + ".mid", 0);
    } else if (name == "Bandeira") {
        qelValue flag = mapItem(3);
        if (flag.isString() && !(flag == "noflag")) {
            qelValue data = qelTable(4, 100, 75);
            qelPut(data, "Text", flag);
            qelPut(data, "FullList", qelTrue);
            goToForm("MidiasForm", data);
        }
    } else if (name == "VideoControl") {
        atlasStopVideo(control);
    } else {
        VLTextForm::handleControl(control);
    }
}

void AtlasForm::toggleCountryPanel(const qelValue& button)
{
    qelValue texto = control("Texto");
    qelValue mapa = control("Mapa");
    if (m_countryPanelShown) {
        setButtonImages(button, "MCDataUp", "MCDataRO", "MCDataDn");
        qelPerformAction(button, "Redraw");
        qelPerform(texto, "SetText", qelValue(" "));
        qelPerformAction(texto, "Draw");
        setControlProperty("Texto", "Hidden", qelTrue);
        if (auto* label = dynamic_cast<StaticText*>(qelControlOf(control("SCategName"))))
            label->setText(qelValue(" "), 1);
        setControlProperty("Mapa", "Hidden", qelFalse);
        qelPerformAction(mapa, "Draw");
        m_countryPanelShown = 0;
        return;
    }
    qelValue more = mapItem(7);
    if (isEmptyText(more))
        return;
    setButtonImages(button, "VerMapaUp", "VerMapaRO", "VerMapaDn");
    qelPerformAction(button, "Redraw");
    setControlProperty("Mapa", "Hidden", qelTrue);
    qelPerformAction(mapa, "Draw");
    qelPerformAction(texto, "Initialize");
    qelPerform(texto, "SetText", more);
    setControlProperty("Texto", "Hidden", qelFalse);
    qelPerformAction(texto, "Draw");
    m_countryPanelShown = 1;
}

void AtlasForm::copyMap()
{
    textpage::showStatus("Copiando");
    qelRefreshWindowArea(0, 0, 0, 0);
    if (loadMediaRecord(mapItem(4)))
        qelCopyImageToClipboard(qelGet(m_mediaRecord, 7));
    textpage::hideStatus("Copiando");
}

void AtlasForm::nextMap()
{
    // An empty or missing category list has nothing to step through.
    if (m_categoryMaps.type() != QEL_LIST_TYPE || qelCount(m_categoryMaps) == 0)
        return;
    setWaitCursor();
    m_mapIndex += 1;
    if (m_mapIndex >= qelCount(m_categoryMaps))
        m_mapIndex = 0;
    showSteppedMap();
}

void AtlasForm::previousMap()
{
    if (m_categoryMaps.type() != QEL_LIST_TYPE || qelCount(m_categoryMaps) == 0)
        return;
    setWaitCursor();
    if (m_mapIndex <= 0 || m_mapIndex > qelCount(m_categoryMaps))
        m_mapIndex = qelCount(m_categoryMaps);
    m_mapIndex -= 1;
    showSteppedMap();
}

void AtlasForm::showSteppedMap()
{
    m_mapId = qelIntValue(qelGet(m_categoryMaps, m_mapIndex));
    loadMapRecord(m_mapId);
    qelPerformAction(control("Mapa"), "DiscardBK");
    draw();
    qelRefreshWindowArea(0, 0, 0, 0);
    // Clicks and keys made while the map was drawn are dropped, not replayed.
    qelFlushEvents(queuedInput);
    qelSetCursor(qelArrowCursor());
}

void AtlasForm::chooseTheme(const qelValue& choice)
{
    qelValue text = qelGet(choice, "Text");
    AtlasTheme theme = atlasTheme(text);
    if (theme.video)
        playThemeVideo(qelValue(theme.video), theme.untilStopped);
    else if (theme.infoPage)
        atlasShowInfoPage(*this, qelValue(theme.infoPage));
    else
        goToForm("AtlasForm", text);
}

void AtlasForm::playThemeVideo(const qelValue& name, bool untilStopped)
{
    if (atlasPlayVideo(*this, name, untilStopped))
        setVideoActive(1);
}

qelValue AtlasForm::historyText()
{
    qelValue table = qelTable(4, 100, 75);
    qelValue name = mapItem(1).isString() ? mapItem(1) : qelValue("");
    qelPut(table, "History Text", qelValue("Atlas: ") + name);
    qelPut(table, "Text", name);
    qelPut(table, "MCDataShown", qelMakeBoolean(m_countryPanelShown));
    return table;
}

void AtlasForm::print()
{
    qelValue attributes = qelResolve(getProperty("PrintAttributes"));
    if (attributes.type() == QEL_TABLE_TYPE) {
        qelPut(attributes, "Title", mapItem(1));
        qelPut(attributes, "Text", mapItem(7));
    }
    VLTextForm::print();
}

void AtlasForm::printMap(const qelValue& picture, const qelValue& title)
{
    printPicturePage(*this, atlasMapPage(picture, title));
}
