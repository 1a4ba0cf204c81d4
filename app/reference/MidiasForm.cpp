#include "app/reference/MidiasForm.h"

#include "app/reference/MediaLayout.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/PicturePrint.h"
#include "app/shell/TextPage.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
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

// Record positions of a media item.
enum : int32_t {
    kId = 0,
    kName = 1,
    kChronoTitle = 2,
    kKind = 3,
    kCaption = 4,
    kFile = 5,
    kContent = 7,
    kOverlay = 8,
    kTableHeader = 9,
    kRelated = 10,
};

enum : int32_t {
    kAnimation = 0,
    kFlag = 2,
    kChronology = 3,
    kPhoto = 4,
    kInfographic = 6,
    kBook = 7,
    kMap = 8,
    kTable = 9,
    kVideo = 10,
};

// Mouse-down, mouse-up, key-down and key-up events: the input a step drops so that presses made
// while it drew do not step again.
constexpr int32_t kInputEvents = 0x3A0;

// The control list the viewer enabled last, shared by every viewer instance: the next media
// screen disables the previous kind's controls.
qelValue& lastControls()
{
    static qelValue list;
    return list;
}

bool isPictureKind(int32_t kind)
{
    return kind == kFlag || kind == kPhoto || kind == kMap;
}

bool isTextKind(int32_t kind)
{
    return kind == kChronology || kind == kBook || kind == kTable;
}

bool hasText(const qelValue& v)
{
    return v.isString() && qelCount(v) > 0;
}

void setWaitCursor(bool wait)
{
    qelEnvironmentServices& services = qelServices();
    if (services.setCursor)
        services.setCursor(wait && services.waitCursor ? services.waitCursor() : qelNil);
}

std::string decimal(int32_t n)
{
    return std::to_string(n);
}

} // namespace

void releaseMediaViewerState()
{
    lastControls() = qelNil;
}

qelValue MidiasForm::control(const char* name)
{
    return qelResolve(getProperty(qelValue(name)));
}

qelValue MidiasForm::field(int32_t position) const
{
    if (m_record.type() != QEL_LIST_TYPE || position >= qelCount(m_record))
        return qelNil;
    return qelGet(m_record, position);
}

void MidiasForm::setDisabled(const char* name, bool disabled, const char* verb)
{
    qelValue c = control(name);
    if (c.isNil())
        return;
    qelPut(c, "Disabled", qelMakeBoolean(disabled ? 1 : 0));
    if (verb)
        qelPerformAction(c, verb);
}

void MidiasForm::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    m_openData = qelNil;
    if (data.type() != QEL_TABLE_TYPE || (!qelContainsKey(data, "Text") && !qelContainsKey(data, "Index")))
        return;
    m_lists = &DBLists::instance();
    m_position = 0;
    m_playButton = qelNil;
    loadResourceTable();
    if (!fill(data))
        return;
    m_bottomLimit = getInt("MaxBottom", 453);
    m_tableMinLeft = getInt("TableMinLeft", 7);
    BarraMenuForm::open(data);
}

void MidiasForm::reenter(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    m_openData = qelNil;
    if (data.type() != QEL_TABLE_TYPE || (!qelContainsKey(data, "Text") && !qelContainsKey(data, "Index")))
        return;
    m_playButton = qelNil;
    if (fill(data))
        draw();
}

bool MidiasForm::loadRecord(int32_t recordId)
{
    // An id the media index does not hold (a name or position no list has) keeps the item shown:
    // reading the archive there would end the program.
    if (!m_lists || recordId < 0 || recordId >= m_lists->recordCount(1))
        return false;
    qelValue record = m_lists->record(recordId, 1);
    if (record.type() != QEL_LIST_TYPE)
        return false;
    m_record = record;
    m_recordId = recordId;
    qelPerformAction(control("VideoControl"), "Stop");
    qelPerformAction(control("AnimControl"), "Stop");
    if (m_playButton.isString())
        setDisabled(qelCString(m_playButton), false, nullptr);
    return true;
}

namespace {

// The archive item of a media id through "MDB_LISTID" (keyed by the id's decimal text).
int32_t recordIdOf(DBLists& lists, int32_t mediaId)
{
    if (mediaId < 0)
        return -1;
    return lists.idOfName("MDB_LISTID", qelStringValue(decimal(mediaId).c_str()));
}

int32_t positionIn(const qelValue& list, int32_t mediaId)
{
    if (list.type() != QEL_LIST_TYPE)
        return -1;
    for (int32_t i = 0; i < qelCount(list); ++i) {
        if ((qelIntAt(list, i) & 0xFFFF) == mediaId)
            return i;
    }
    return -1;
}

} // namespace

bool MidiasForm::fill(const qelValue& data)
{
    if (!m_lists)
        m_lists = &DBLists::instance();
    bool fullList = qelIsTrue(qelGet(data, "FullList"));
    if (fullList) {
        int32_t mediaId = -1;
        if (qelContainsKey(data, "Index")) {
            mediaId = qelIntValue(qelGet(data, "Index"));
        } else {
            qelValue text = qelGet(data, "Text");
            mediaId = m_lists->idListGet(2, text);
            if (mediaId == -1)
                mediaId = m_lists->idListGet(1, text);
        }
        if (!loadRecord(recordIdOf(*m_lists, mediaId)))
            return false;
        m_browseList = loadIDMidList(qelIntValue(field(kKind)) + 1);
        if (!m_browseList.isNil())
            m_position = positionIn(m_browseList, mediaId);
        m_openData = data;
    } else {
        int32_t position = qelIntValue(qelGet(data, "Index"));
        qelValue browse = qelGet(data, "BrowseList");
        qelValue list = browse.isNil() ? getCachedIDList(1) : browse;
        // A position outside the list names no item: nothing to show.
        if (list.type() != QEL_LIST_TYPE || position < 0 || position >= qelCount(list))
            return false;
        int32_t mediaId = qelIntAt(list, position) & 0xFFFF;
        if (!loadRecord(recordIdOf(*m_lists, mediaId)))
            return false;
        m_position = position;
        m_browseList = list;
        if (!browse.isNil()) {
            m_openData = data;
            m_browseList = loadIDMidList(qelIntValue(field(kKind)) + 1);
            if (!m_browseList.isNil())
                m_position = positionIn(m_browseList, mediaId);
            else
                m_browseList = list;
        }
    }
    int32_t kind = qelIntValue(field(kKind));
    m_categoryId = kind;
    if (kind == kInfographic) {
        qelValue page = field(kFile);
        qelValue valid = qelResolve(qelLoadResource("ValidInfos"));
        if (page.isString() && valid.type() == QEL_LIST_TYPE && qelIndexOf(valid, page) >= 0) {
            goToForm(page, qelNil);
            return false;
        }
    }
    qelValue names = qelResolve(getProperty("MidiaNames"));
    m_currentCategory = names.type() == QEL_LIST_TYPE && kind >= 0 && kind < qelCount(names) ? qelGet(names, kind)
                                                                                              : qelNil;
    switchKindControls();
    std::string cat = "Cat" + decimal(kind + 1);
    setProperty("Background Image", getProperty(qelStringValue((cat + " BkImage").c_str())));
    qelValue nameControl = control("MidiaName");
    if (!nameControl.isNil()) {
        if (kind == kPhoto) {
            qelPut(nameControl, "Disabled", qelTrue);
        } else {
            qelPut(nameControl, "Foreground Color", getProperty(qelStringValue((cat + " TxColor").c_str())));
            qelPerformAction(nameControl, "Initialize");
        }
    }
    return true;
}

void MidiasForm::switchKindControls()
{
    qelValue list = m_currentCategory.isString() ? qelResolve(getProperty(m_currentCategory + "Controls")) : qelNil;
    qelValue& last = lastControls();
    if (list == last)
        return;
    if (last.type() == QEL_LIST_TYPE) {
        for (int32_t i = 0; i < qelCount(last); ++i) {
            qelValue c = qelResolve(qelGet(last, i));
            qelPut(c, "Disabled", qelTrue);
            qelPerformAction(c, "Draw");
        }
    }
    last = list;
    if (list.type() == QEL_LIST_TYPE) {
        for (int32_t i = 0; i < qelCount(list); ++i) {
            qelValue c = qelResolve(qelGet(list, i));
            qelPut(c, "Disabled", qelFalse);
            qelPerformAction(c, "Draw");
        }
    }
}

void MidiasForm::draw()
{
    qelValue self = qelFormValue(this);
    int32_t kind = m_categoryId;
    qelValue name = field(kName);
    if (auto* band = dynamic_cast<StaticText*>(qelControlOf(control("SCategName"))))
        band->setText(name, 1);
    if (kind != kPhoto) {
        if (auto* nameText = dynamic_cast<StaticText*>(qelControlOf(control("MidiaName"))))
            nameText->setText(medialayout::shortName(name), 1);
    }
    setDisabled("Legenda", !hasText(field(kCaption)), "Redraw");
    setDisabled("Verbetes", !hasText(field(kRelated)), "Redraw");
    if (isPictureKind(kind))
        layoutPicture();
    else if (kind == kAnimation || kind == kVideo)
        layoutMovingPicture();
    else
        layoutTexts();
    qelFormObject::draw();
    qelValue overlay = field(kOverlay);
    if (overlay.type() == QEL_IMAGE_TYPE)
        qelShowImageAt(overlay, 0, 24, 0, 0, 0, 0);
}

void MidiasForm::layoutPicture()
{
    int32_t kind = m_categoryId;
    int32_t minLeft = 0;
    int32_t minTop = 0;
    qelValue area = control("FotoArea");
    if (area.isNil())
        return;
    if (kind == kFlag) {
        minLeft = getInt("BandeiraMinLeft", 0);
        minTop = getInt("BandeiraMinTop", 61);
    } else if (kind == kPhoto) {
        minLeft = getInt("FotoMinLeft", 0);
        minTop = getInt("FotoMinTop", 24);
    } else {
        minLeft = getInt("MapaMinLeft", 0);
        minTop = getInt("MapaMinTop", 61);
    }
    if (kind == kMap) {
        qelPut(area, "W", qelMakeInt(getInt("MapaMaxWidth", 414)));
        qelPut(area, "H", qelMakeInt(getInt("MapaMaxHeight", 393)));
    } else {
        qelRemoveKey(area, "W");
        qelRemoveKey(area, "H");
    }
    qelValue picture = field(kContent);
    bool image = picture.type() == QEL_IMAGE_TYPE;
    int32_t w = qelContainsKey(area, "W") ? qelGetInt(area, "W") : (image ? qelWidth(picture) : 0);
    int32_t h = qelContainsKey(area, "H") ? qelGetInt(area, "H") : (image ? qelHeight(picture) : 0);
    medialayout::PicturePlace place = medialayout::placePicture(w, h, minLeft, minTop, m_bottomLimit);
    if (place.cut) {
        if (kind == kMap) {
            // The map is scaled into its box: the box is what grows too tall, so the box is
            // shortened (cutting the source in box units would show only its top-left part).
            qelPut(area, "H", qelMakeInt(place.height));
        } else if (image) {
            picture = qelImageFromImage(picture, 0, place.cutTop, w, place.height);
        }
    }
    qelPut(area, "X", qelMakeInt(place.x));
    qelPut(area, "Y", qelMakeInt(place.y));
    qelPut(area, "Image", picture);
    qelRemoveKey(area, "Mask");
    if (kind == kFlag) {
        qelValue masks = qelResolve(getProperty("BandeiraMask"));
        qelValue cutName = medialayout::shortName(field(kName));
        if (masks.type() == QEL_TABLE_TYPE && qelContainsKey(masks, cutName))
            qelPut(area, "Mask", qelGet(masks, cutName));
    }
}

void MidiasForm::layoutMovingPicture()
{
    qelValue area = control("FotoArea");
    if (area.isNil())
        return;
    bool anim = m_categoryId == kAnimation;
    qelRemoveKey(area, "W");
    qelRemoveKey(area, "H");
    qelRemoveKey(area, "Mask");
    qelPut(area, "X", qelMakeInt(getInt(anim ? "AnimClipX" : "VideoClipX", 0)));
    qelPut(area, "Y", qelMakeInt(getInt(anim ? "AnimClipY" : "VideoClipY", 0)));
    qelPut(area, "Image", field(kContent));
    if (hasText(field(kCaption)))
        setDisabled("Legenda", false, "Redraw");
}

namespace {

// Gives the text control its place and the scroll bar its strip when the layout is fixed.
void placeTextControl(const qelValue& control, const qelValue& rect, const qelValue& scrollRect)
{
    if (control.isNil())
        return;
    if (rect.type() == QEL_REGION_TYPE) {
        qelPut(control, "Hot Spot", rect);
        qelPut(control, "TextRegion", rect);
    }
    qelValue scroll = qelGet(control, "Scroll");
    if (scroll.type() == QEL_TABLE_TYPE && scrollRect.type() == QEL_REGION_TYPE) {
        qelPut(scroll, "ScrollRegion", scrollRect);
        qelPut(control, "Scroll", scroll);
    }
}

} // namespace

void MidiasForm::layoutTexts()
{
    int32_t kind = m_categoryId;
    qelValue tabela = control("Tabela");
    if (kind == kChronology) {
        int32_t bottom = fitTextControl("Titulo", field(kChronoTitle), 0);
        placeTextControl(tabela, qelResolve(getProperty("OriCronoRect")), qelResolve(getProperty("OriCronoSRect")));
        fitTextControl("Tabela", field(kContent), bottom);
    } else if (kind == kBook) {
        qelValue title = control("Title");
        qelPerformAction(title, "Initialize");
        qelPerform(title, "SetText", field(kCaption));
        placeTextControl(tabela, qelResolve(getProperty("OriBookRect")), qelResolve(getProperty("OriBookSRect")));
        qelPerformAction(tabela, "Initialize");
        qelPerform(tabela, "SetText", field(kContent));
    } else if (kind == kTable) {
        int32_t bottom = fitTextControl("Titulo", field(kCaption), 0);
        bottom = fitTextControl("Header", field(kTableHeader), bottom);
        placeTextControl(tabela, qelResolve(getProperty("OriRect")), qelResolve(getProperty("OriSRect")));
        fitTextControl("Tabela", field(kContent), bottom);
    }
}

int32_t MidiasForm::fitTextControl(const char* name, const qelValue& text, int32_t top)
{
    qelValue c = control(name);
    if (c.isNil())
        return top;
    qelValue spot = qelGet(c, "Hot Spot");
    int32_t a = 0;
    int32_t d = 0;
    int32_t e = 0;
    qelFontMetrics(qelGet(c, "Font"), &a, &d, nullptr, nullptr, &e, nullptr);
    medialayout::TextPlace place = spot.type() == QEL_REGION_TYPE
        ? medialayout::fitText(text, qelLeft(spot), qelTop(spot), qelWidth(spot), qelHeight(spot), top, a + d + e,
              m_bottomLimit, m_tableMinLeft)
        : medialayout::TextPlace { false, 0, 0, 0, 0, text };
    int32_t bottom = top;
    if (place.fitted) {
        qelValue rect = qelRectValue(place.x, place.y, place.w, place.h);
        placeTextControl(c, rect, qelRectValue(place.x + place.w - 15, place.y, 15, place.h));
        bottom = place.bottom();
    }
    qelPerformAction(c, "Initialize");
    qelPerform(c, "SetText", place.text.isNil() ? qelValue("") : place.text);
    return bottom;
}

void MidiasForm::handleControl(const qelValue& c)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(c);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    int32_t kind = m_categoryId;
    bool moving = kind == kAnimation || kind == kVideo;
    if (name == "Previous" || name == "Next") {
        if (moving)
            mediaNotify(qelNil, "ended");
        if (name == "Previous")
            previousMedia();
        else
            nextMedia();
    } else if (name == "Imprimir") {
        if (isPictureKind(kind))
            printMedia(field(kContent), field(kName), 0);
        else if (isTextKind(kind))
            print();
    } else if (name == "Copiar") {
        if (isPictureKind(kind))
            copyPicture();
    } else if (name == "Legenda") {
        if (kind == kVideo)
            mediaNotify(qelNil, "ended");
        qelValue data = qelTable(1, 100, 75);
        qelPut(data, "Text", field(kCaption));
        qelRunDialog("CaptionDialog", data);
    } else if (name == "Play") {
        startMovie("Play", "Stop", "VideoControl");
    } else if (name == "Stop") {
        stopMovie("Stop", "Play", "VideoControl");
    } else if (name == "PlayA") {
        startMovie("PlayA", "StopA", "AnimControl");
    } else if (name == "StopA") {
        stopMovie("StopA", "PlayA", "AnimControl");
    } else if (name == "Verbetes") {
        qelRunDialog("VerbLink", field(kRelated));
    } else {
        VLTextForm::handleControl(c);
    }
}

void MidiasForm::copyPicture()
{
    textpage::showStatus("Copiando");
    qelValue picture = field(kContent);
    if (picture.type() == QEL_IMAGE_TYPE)
        qelCopyImageToClipboard(picture);
    textpage::hideStatus("Copiando");
}

void MidiasForm::startMovie(const char* button, const char* stopButton, const char* controlName)
{
    setDisabled(button, true, "Redraw");
    setDisabled(stopButton, false, "Redraw");
    m_playButton = qelValue(button);
    qelValue movie = control(controlName);
    qelValue file = field(kFile);
    if (movie.isNil() || !file.isString())
        return;
    qelPerform(movie, "Reinitialize", file + ".avi");
    setActiveControl(movie, 1);
    qelPerform(movie, "Show", qelTrue);
    qelPerform(movie, "Start", qelFalse);
}

void MidiasForm::stopMovie(const char* button, const char* playButton, const char* controlName)
{
    setDisabled(button, true, "Redraw");
    setDisabled(playButton, false, "Redraw");
    qelPerformAction(control(controlName), "Stop");
}

void MidiasForm::mediaNotify(const qelValue& media, const qelValue& message)
{
    qelValue self = qelFormValue(this);
    if ((media.isNil() || media.type() == QEL_MOVIE_TYPE) && message == "ended") {
        if (m_playButton.isString())
            setDisabled(qelCString(m_playButton), false, "Redraw");
        qelPerformAction(control("VideoControl"), "Stop");
        qelPerformAction(control("AnimControl"), "Stop");
        return;
    }
    VLTextForm::mediaNotify(media, message);
}

void MidiasForm::nextMedia()
{
    step(1);
}

void MidiasForm::previousMedia()
{
    step(-1);
}

void MidiasForm::step(int32_t delta)
{
    qelValue self = qelFormValue(this);
    int32_t count = m_browseList.type() == QEL_LIST_TYPE ? qelCount(m_browseList) : 0;
    // Nothing to step through: an empty list, or none.
    if (count == 0 || !m_lists)
        return;
    setWaitCursor(true);
    // A position outside the list (the item was not in its category's list) steps from its ends.
    int32_t position = m_position;
    if (position < 0 || position >= count)
        position = delta > 0 ? count - 1 : 0;
    position = delta > 0 ? (position + 1) % count : (position == 0 ? count - 1 : position - 1);
    int32_t mediaId = qelIntAt(m_browseList, position) & 0xFFFF;
    int32_t shownKind = m_categoryId;
    if (loadRecord(recordIdOf(*m_lists, mediaId))) {
        m_position = position;
        int32_t kind = qelIntValue(field(kKind));
        if (kind != shownKind) {
            // The new kind is laid out by opening the form again on the item: in full-list mode
            // it is found again by its media id, otherwise by its position in the list stepped
            // through. Opened without open data, the viewer steps through the current media list,
            // which a new table with the position finds again.
            qelValue data = m_openData.type() == QEL_TABLE_TYPE ? m_openData : qelTable(4, 100, 75);
            bool fullList = qelIsTrue(qelGet(data, "FullList"));
            qelPut(data, "Text", field(kName));
            qelPut(data, "Index", qelMakeInt(fullList ? mediaId : position));
            reenter(data);
        } else {
            draw();
        }
    }
    qelRefreshWindowArea(0, 0, 0, 0);
    qelFlushEvents(kInputEvents);
    setWaitCursor(false);
}

qelValue MidiasForm::historyText()
{
    qelValue history = qelTable(3, 100, 75);
    qelPut(history, "FullList", qelTrue);
    qelPut(history, "Index", field(kId));
    qelValue names = qelResolve(getProperty("MidiaNames"));
    int32_t kind = m_categoryId;
    qelValue kindName = names.type() == QEL_LIST_TYPE && kind >= 0 && kind < qelCount(names) ? qelGet(names, kind)
                                                                                              : qelValue("");
    qelPut(history, "History Text", qelValue("M\xED" "dias - ") + kindName + qelValue(": ") + field(kName));
    return history;
}

void MidiasForm::print()
{
    qelValue attributes = qelResolve(getProperty("PrintAttributes"));
    if (attributes.type() != QEL_TABLE_TYPE) {
        attributes = qelTable(4, 100, 75);
        setProperty("PrintAttributes", attributes);
    }
    qelPut(attributes, "Title", field(kName));
    qelPut(attributes, "Text", field(kContent));
    VLTextForm::print();
}

void MidiasForm::printMedia(const qelValue& picture, const qelValue& name, int32_t)
{
    PicturePage page;
    page.documentName = "VL98 - Midias";
    page.headerText = qelValue("Velarim 98 - ") + name;
    page.picture = picture;
    printPicturePage(*this, page);
}
