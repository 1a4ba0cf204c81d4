#include "app/reference/CurioHFDialog.h"

#include "app/shell/ErrorCapture.h"
#include "app/shell/TextPage.h"
#include "app/shell/TrimBlanks.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"
#include "platform/sys/Random.h"

#include <string>

namespace {

// The elements of a curiosity record that the viewer reads.
constexpr int32_t kindElement = 1;
constexpr int32_t titleElement = 3;
constexpr int32_t textElement = 4;
// The layout kind of the short layout; any other nonzero kind is the long one.
constexpr int32_t shortLayout = 1;

qelValue newSeenList()
{
    return qelMakeList(4, 100, QEL_INT_LIST);
}

// A content archive opened read-only; nil when the file is missing or does not read, so a disk
// without curiosities shows an empty viewer instead of ending the program.
qelValue openArchive(const char* name, const char* extension)
{
    qelValue path = qelLocateFile(qelValue(name), qelValue(extension));
    if (!qelLocatedFileExists(path))
        return qelNil;
    ErrorCapture errors;
    qelValue archive = qelOpenArchive(path, 0);
    return errors.failed() || !qelArchiveOf(archive) ? qelNil : archive;
}

// Item n of an open archive, nil outside it or when it does not read.
qelValue archiveItem(const qelValue& archive, int32_t n)
{
    if (!qelArchiveOf(archive) || n < 0 || n >= qelCount(archive))
        return qelNil;
    ErrorCapture errors;
    qelValue item = qelGet(archive, n);
    return errors.failed() ? qelNil : item;
}

void setFlag(const qelValue& control, const char* key, bool on)
{
    if (qelControlOf(control))
        qelPut(control, qelValue(key), qelMakeBoolean(on));
}

std::string trimmedPiece(const std::string& text, size_t& start)
{
    size_t end = text.find(';', start);
    std::string piece = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() + 1 : end + 1;
    return piece;
}

} // namespace

qelValue CurioHFDialog::control(const char* name)
{
    return qelResolve(getProperty(qelValue(name)));
}

qelValue CurioHFDialog::recordElement(int32_t index) const
{
    if (m_record.type() != QEL_LIST_TYPE || index >= qelCount(m_record))
        return qelNil;
    return qelGet(m_record, index);
}

void CurioHFDialog::open(const qelValue& data)
{
    m_linkTarget = qelNil;
    m_historyPos = 0;
    platform::randomSeed(qelClockNow());
    loadResourceTable();
    m_recordArchive = openArchive("DBCurio", "dat");
    m_categoryArchive = openArchive("CVSbCatL", "dtt");
    // Each run starts the category anew; a category without curiosities shows none.
    m_record = qelNil;
    m_recordNumber = -1;
    m_pool = qelNil;
    m_seenList = newSeenList();
    if (qelTableOf(data)) {
        qelValue images = qelGet(data, qelValue("Images"));
        if (images.type() == QEL_LIST_TYPE && qelCount(images) >= 4) {
            const char* const holders[] = { "SelPhoto", "Photo", "SelTextBox", "SideBarL", "SideBarS" };
            const int32_t pictures[] = { 0, 1, 2, 3, 3 };
            for (int32_t i = 0; i < 5; ++i) {
                qelValue holder = control(holders[i]);
                if (qelControlOf(holder))
                    qelPut(holder, qelValue("Image"), qelGet(images, pictures[i]));
            }
        }
        qelValue category = qelGet(data, qelValue("SCatID"));
        m_categoryID = category.type() == QEL_INT_TYPE ? category.payload() : 0;
        qelValue pool = archiveItem(m_categoryArchive, m_categoryID);
        if (pool.type() == QEL_LIST_TYPE && qelCount(pool) > 0) {
            // Only record numbers can be drawn: the pool is an int list whatever the file holds.
            m_pool = newSeenList();
            for (int32_t i = 0; i < qelCount(pool); ++i) {
                qelValue n = qelGet(pool, i);
                if (n.type() == QEL_INT_TYPE)
                    qelListObjectOf(m_pool)->appendInt(n.payload());
            }
            // A request without "Index" draws at random, as "Next" would.
            qelValue index = qelGet(data, qelValue("Index"));
            if (qelCount(m_pool) > 0)
                showRecord(index.type() == QEL_INT_TYPE ? index.payload() : -1);
        }
    }
    m_result = qelNil;
    m_layoutKind = 0;
    qelValue background = qelLoadImageResource("Background Image");
    int32_t w = background.type() == QEL_IMAGE_TYPE ? qelWidth(background) : 0;
    int32_t h = background.type() == QEL_IMAGE_TYPE ? qelHeight(background) : 0;
    m_dialogRect = qelRectValue(getInt("Origin X", 0), getInt("Origin Y", 0), w, h);
    qelMediaDialogObject::open(data);
}

void CurioHFDialog::showRecord(int32_t n)
{
    qelListObject* pool = qelListObjectOf(m_pool);
    if (!pool)
        return;
    if (pool->count == 0) {
        // Everything has been shown: all of it can be drawn again, and the way back starts here.
        m_pool = m_seenList;
        m_seenList = newSeenList();
        pool = qelListObjectOf(m_pool);
    }
    if (n == -1) {
        int32_t count = pool->count;
        if (count == 0)
            return;
        // The divisor is the generator's maximum, so its last value would give one past the end.
        int32_t p = count * platform::randomNext() / platform::Random::maximum;
        if (p >= count)
            p = count - 1;
        n = pool->intAt(p);
    }
    pool->remove(qelValue(n));
    qelListObjectOf(m_seenList)->appendInt(n);
    m_recordNumber = n;
    m_record = archiveItem(m_recordArchive, n);
}

void CurioHFDialog::showSeen(int32_t m)
{
    m_recordNumber = m;
    m_record = archiveItem(m_recordArchive, m);
    draw();
}

void CurioHFDialog::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    int32_t last = qelCount(m_seenList) - 1;
    if (name == "Previous") {
        if (last - m_historyPos > 0) {
            ++m_historyPos;
            showSeen(qelIntAt(m_seenList, last - m_historyPos));
        }
        return;
    }
    if (name == "Next") {
        if (m_historyPos > 0) {
            --m_historyPos;
            showSeen(qelIntAt(m_seenList, last - m_historyPos));
        } else if (qelListObjectOf(m_pool)) {
            showRecord(-1);
            draw();
        }
        return;
    }
    if (object && object->hasProperty("HyperLink")) {
        qelValue context = qelPerform(control, "GetContext", qelNil);
        if (context.isString()) {
            // "type:target": the target ends the run. A text without a target is no link.
            qelValue target = textpage::splitLink(context).target;
            if (target.isString() && qelCount(target) > 0) {
                m_linkTarget = target;
                endDialog();
            }
            return;
        }
    }
    qelMediaDialogObject::handleControl(control);
}

void CurioHFDialog::draw()
{
    qelMediaDialogObject::draw();
    if (m_record.isNil())
        return;
    int32_t kind = qelIntValue(recordElement(kindElement));
    qelValue titulo = control("Titulo");
    qelValue texto = control("Texto");
    if (kind != m_layoutKind) {
        m_layoutKind = kind;
        bool isShort = kind == shortLayout;
        qelValue titleRegion = getProperty(isShort ? "Titulo Curto" : "Titulo Longo");
        qelValue textRegion = getProperty(isShort ? "Texto Curto" : "Texto Longo");
        if (qelControlOf(titulo)) {
            setFlag(titulo, "Disabled", true);
            qelPerformAction(titulo, "Draw");
            setFlag(titulo, "Disabled", false);
            qelPut(titulo, qelValue("TextRegion"), titleRegion);
            qelPerformAction(titulo, "Initialize");
        }
        if (qelControlOf(texto)) {
            qelPut(texto, qelValue("Hot Spot"), textRegion);
            qelPut(texto, qelValue("TextRegion"), textRegion);
            setFlag(texto, "Disabled", true);
            qelPerformAction(texto, "Draw");
        }
        for (const char* name : { "SideBarL", "CompBackground" }) {
            qelValue part = control(name);
            if (qelControlOf(part)) {
                setFlag(part, "Disabled", isShort);
                qelPerformAction(part, "Draw");
            }
        }
    }
    if (qelControlOf(titulo))
        qelPerform(titulo, "SetText", recordElement(titleElement));
    if (qelControlOf(texto)) {
        setFlag(texto, "Disabled", false);
        qelPerformAction(texto, "Initialize");
        qelPerform(texto, "SetText", recordElement(textElement));
        qelPerformAction(texto, "Draw");
    }
}

void CurioHFDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (!qelContainsPoint(m_dialogRect, x, y))
        endDialog();
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

qelValue CurioHFDialog::result()
{
    m_result = qelTable(5, 100, 75);
    qelPut(m_result, qelValue("Index"), qelValue(m_recordNumber));
    qelPut(m_result, qelValue("SCatID"), qelValue(m_categoryID));
    qelPut(m_result, qelValue("Titulo"), recordElement(titleElement));
    if (m_linkTarget.isString()) {
        std::string target(qelCString(m_linkTarget), size_t(qelCount(m_linkTarget)));
        size_t start = 0;
        std::string form = trimmedPiece(target, start);
        qelPut(m_result, qelValue("Jump"), qelTrue);
        qelPut(m_result, qelValue("Form"), trimBlanks(qelStringValueN(form.data(), int32_t(form.size()))));
        // A target without a second piece opens its form without data.
        if (start <= target.size()) {
            std::string data = trimmedPiece(target, start);
            qelPut(m_result, qelValue("Data"), trimBlanks(qelStringValueN(data.data(), int32_t(data.size()))));
        }
    }
    return m_result;
}

void CurioHFDialog::close()
{
    m_recordArchive = qelNil;
    m_categoryArchive = qelNil;
    qelValue titulo = control("Titulo");
    if (qelControlOf(titulo))
        qelPerformAction(titulo, "DiscardBK");
    qelMediaDialogObject::close();
}
