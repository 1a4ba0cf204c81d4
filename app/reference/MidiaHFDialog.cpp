#include "app/reference/MidiaHFDialog.h"

#include "app/reference/MediaLayout.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/TextPage.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

enum : int32_t {
    kName = 1,
    kCaption = 4,
    kFile = 5,
    kThumbnail = 6,
    kContent = 7,
    kRelated = 10,
};

const char* const imageControls[] = { "SelPhoto", "Photo", "SelMidiaList", "SelContents" };

int32_t settingOf(const qelValue& settings, const char* key)
{
    qelValue v = qelGet(settings, key);
    return v.type() == QEL_INT_TYPE ? v.payload() : 0;
}

} // namespace

qelValue MidiaHFDialog::control(const char* name)
{
    return qelResolve(getProperty(qelValue(name)));
}

qelValue MidiaHFDialog::choice(int32_t index) const
{
    qelValue chosen = qelTable(4, 100, 75);
    qelPut(chosen, "FName", qelGet(m_record, kFile));
    qelPut(chosen, "Text", qelGet(m_record, kName));
    qelPut(chosen, "Index", qelMakeInt(index));
    return chosen;
}

bool MidiaHFDialog::selectItem(int32_t index)
{
    // No selection (nil or -1) or one past the list selects nothing.
    if (!m_lists || m_items.type() != QEL_LIST_TYPE || index < 0 || index >= qelCount(m_items))
        return false;
    int32_t mediaId = qelIntAt(m_items, index) & 0xFFFF;
    int32_t recordId = m_lists->idOfName("MDB_LISTID", qelStringValue(std::to_string(mediaId).c_str()));
    if (recordId < 0 || recordId >= m_lists->recordCount(1))
        return false;
    qelValue record = m_lists->record(recordId, 1);
    if (record.type() != QEL_LIST_TYPE)
        return false;
    m_record = record;
    return true;
}

void MidiaHFDialog::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    loadResourceTable();
    m_lists = &DBLists::instance();
    m_imageSettings = qelResolve(getProperty("ImageTreatInfo"));
    m_record = qelNil;
    m_items = qelNil;
    if (data.type() == QEL_TABLE_TYPE) {
        qelValue images = qelGet(data, "Images");
        if (images.type() == QEL_LIST_TYPE) {
            for (int32_t i = 0; i < 4 && i < qelCount(images); ++i)
                qelPut(control(imageControls[i]), "Image", qelGet(images, i));
        }
        m_category = qelIntValue(qelGet(data, "SCatID"));
        m_items = loadIDMidList(m_category);
        qelValue list = control("MidiaList");
        if (m_items.type() == QEL_LIST_TYPE && qelCount(m_items) > 0) {
            qelPerform(list, "setList", m_items);
            qelPerformAction(list, "Initialize");
            qelPerform(list, "setSelection", qelMakeInt(0));
            if (selectItem(0))
                showRecord(0);
        }
    }
    m_result = qelNil;
    qelValue background = qelLoadImageResource(getProperty("Background Image"));
    m_rect = qelRectValue(getInt("Origin X", 0), getInt("Origin Y", 0), background.isNil() ? 0 : qelWidth(background),
        background.isNil() ? 0 : qelHeight(background));
    qelMediaDialogObject::open(data);
}

void MidiaHFDialog::showRecord(int32_t redraw)
{
    if (m_record.type() != QEL_LIST_TYPE)
        return;
    qelValue related = control("Verbetes");
    qelValue links = qelGet(m_record, kRelated);
    if (!links.isNil()) {
        qelPerform(related, "SetText", links);
        if (redraw)
            qelPerformAction(related, "Draw");
    } else {
        qelPerformAction(related, "ClearText");
    }
    qelValue picture = qelGet(m_record, kThumbnail);
    if (picture.isNil())
        picture = qelGet(m_record, kContent);
    bool image = picture.type() == QEL_IMAGE_TYPE;
    int32_t w = image ? qelWidth(picture) : 0;
    int32_t h = image ? qelHeight(picture) : 0;
    qelValue caption = qelGet(m_record, kCaption);
    int32_t maxW = 0;
    int32_t maxH = 0;
    if (!caption.isString() || qelCount(caption) == 0) {
        maxW = settingOf(m_imageSettings, "MaxWidth");
        maxH = settingOf(m_imageSettings, "MaxHeight");
        caption = qelValue(" ");
    } else {
        maxW = settingOf(m_imageSettings, "MaxFotoWidth");
        maxH = settingOf(m_imageSettings, "MaxFotoHeight");
    }
    int32_t shownW = 0;
    int32_t shownH = 0;
    medialayout::thumbnailSize(w, h, maxW, maxH, &shownW, &shownH);
    qelValue file = qelGet(m_record, kFile);
    if (!file.isString())
        file = qelValue("");
    // The text view draws a picture it can load by the name whole, at its own size: the disk keeps
    // its pictures as files, so the thumbnail goes under a name no file has ("@" and the file
    // name), in lower case as the view looks names up.
    file = qelLowerCase(qelValue("@") + file);
    qelValue images = qelTable(4, 100, 75);
    qelValue entry = qelMakeList(4, 100, 0);
    qelAddItem(entry, picture);
    qelAddItem(entry, qelMakeInt(shownW));
    qelAddItem(entry, qelMakeInt(shownH));
    qelPut(images, file, entry);
    qelValue text = qelValue("{\\uldb \\{img ") + file + qelValue("\\}}!\\{open\\}") + caption;
    qelValue legenda = control("Legenda");
    qelPerform(legenda, "SetImageList", images);
    qelPerform(legenda, "SetText", text);
    if (redraw)
        qelPerformAction(legenda, "Draw");
}

void MidiaHFDialog::handleControl(const qelValue& c)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(c);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "MidiaList") {
        qelValue selection = qelPerform(c, "getSelection", qelNil);
        if (selection.type() != QEL_INT_TYPE)
            return;
        bool doubled = qelIsTrue(qelPerform(c, "dblClicked", qelNil));
        int32_t index = selection.payload();
        if (!selectItem(index))
            return;
        if (doubled) {
            m_result = choice(index);
            endDialog();
        } else {
            showRecord(1);
        }
    } else if (name == "Legenda") {
        qelValue context = qelPerform(c, "GetContext", qelNil);
        if (!(context == "open") || m_record.type() != QEL_LIST_TYPE)
            return;
        qelValue selection = qelPerform(control("MidiaList"), "getSelection", qelNil);
        m_result = choice(selection.type() == QEL_INT_TYPE ? selection.payload() : 0);
        endDialog();
    } else if (name == "Verbetes") {
        qelValue context = qelPerform(c, "GetContext", qelNil);
        if (context.isString())
            followLink(context);
    } else {
        qelMediaDialogObject::handleControl(c);
    }
}

void MidiaHFDialog::followLink(const qelValue& context)
{
    // "word:Form;target": a context without its ":" names no form and is left alone.
    qelValue parts = qelTokenize(context, ":");
    if (parts.type() != QEL_LIST_TYPE || qelCount(parts) < 2)
        return;
    textpage::LinkForm link = textpage::linkForm(qelGet(parts, 1));
    if (!link.opens || ((link.form == "VerbeteForm" || link.form == "MidiasForm") && link.data.isNil()))
        return;
    m_result = qelTable(4, 100, 75);
    qelPut(m_result, "Jump", qelTrue);
    qelPut(m_result, "Form", link.form);
    qelPut(m_result, "Data", link.data);
    endDialog();
}

void MidiaHFDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    if (m_rect.type() == QEL_REGION_TYPE && !qelContainsPoint(m_rect, x, y)) {
        m_result = qelNil;
        endDialog();
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}
