#include "app/shell/AddedImages.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"

namespace {

qelListObject* generalList(const qelValue& value)
{
    qelListObject* list = qelListObjectOf(value);
    return list && list->kind() == QEL_GENERAL_LIST ? list : nullptr;
}

qelValue pictureOf(const qelValue& value)
{
    qelValue picture = qelLoadImageResource(qelResolve(value));
    return picture.type() == QEL_IMAGE_TYPE ? picture : qelNil;
}

// The pictures and their backgrounds are at screen positions; the dialog's origin is put back
// on every way out.
class ScreenOrigin {
public:
    ScreenOrigin() { qelSetOrigin(0, 0, &m_x, &m_y); }
    ~ScreenOrigin() { qelSetOrigin(m_x, m_y); }

private:
    int32_t m_x = 0;
    int32_t m_y = 0;
};

} // namespace

void AddedImages::draw(const qelValue& picture, int32_t x, int32_t y)
{
    if (!qelListObjectOf(m_saved))
        m_saved = qelMakeList(4, 100, QEL_GENERAL_LIST);
    qelValue under = qelGrabWindowImage(x, y, qelWidth(picture), qelHeight(picture));
    qelListObjectOf(m_saved)->append(qelListOf({ under, qelMakeInt(x), qelMakeInt(y) }));
    qelShowImageAt(picture, x, y, 0, 0, 0, 0);
    m_shown = true;
}

void AddedImages::show(const qelValue& pictures)
{
    if (qelTableObject* table = qelTableOf(pictures)) {
        qelValue picture = pictureOf(table->get("Image"));
        if (picture.isNil())
            return;
        // What is still to be painted must be on the screen before it is kept.
        qelRefreshWindowArea(0, 0, 0, 0);
        ScreenOrigin origin;
        draw(picture, qelIntValue(table->get("Origin X")), qelIntValue(table->get("Origin Y")));
        return;
    }
    qelListObject* list = generalList(pictures);
    if (!list)
        return;
    ScreenOrigin origin;
    qelRefreshWindowArea(0, 0, 0, 0);
    for (int32_t i = 0; i < list->count; ++i) {
        qelListObject* entry = generalList(qelResolve(list->elementAt(i)));
        qelValue picture = entry && entry->count >= 3 ? pictureOf(entry->elementAt(0)) : qelNil;
        if (picture.isNil())
            break;
        draw(picture, qelIntValue(entry->elementAt(1)), qelIntValue(entry->elementAt(2)));
    }
}

void AddedImages::restore()
{
    if (qelListObject* list = generalList(m_saved)) {
        ScreenOrigin origin;
        for (int32_t i = list->count - 1; i >= 0; --i) {
            qelListObject* entry = generalList(list->elementAt(i));
            qelShowImageAt(entry->elementAt(0), qelIntValue(entry->elementAt(1)), qelIntValue(entry->elementAt(2)), 0,
                0, 0, 0);
        }
    }
    m_saved = qelNil;
    m_shown = false;
}

int32_t AddedImages::savedCount() const
{
    return qelListObjectOf(m_saved) ? qelCount(m_saved) : 0;
}
