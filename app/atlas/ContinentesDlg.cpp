#include "app/atlas/ContinentesDlg.h"

#include "app/shell/TableKeys.h"
#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

namespace {

const char* const stayOpen = "__STAYOPEN__";
const char* const closeAll = "__CLOSE__";

} // namespace

int32_t ContinentesDlg::hitTest(int32_t x, int32_t y) const
{
    return cascadeHitTest(m_dialogRect, m_parentsList, x, y);
}

void ContinentesDlg::open(const qelValue& data)
{
    m_useDefaultPosition = 0;
    m_offsetX = 0;
    m_offsetY = 0;
    m_parentsList = qelMakeList(4, 100, QEL_GENERAL_LIST);
    // An answer of an earlier run must not come back from this one.
    m_result = qelNil;
    m_addedImages.restore();
    // The resource first: the placement below goes into its properties.
    loadResourceTable();

    qelValue ownImage = getProperty("AddedImage");
    if (!ownImage.isNil())
        showAddedImage(qelResolve(ownImage));

    if (data.type() == QEL_TABLE_TYPE) {
        if (tableHolds(data, "AddedImage"))
            showAddedImage(qelResolve(qelGet(data, "AddedImage")));

        qelValue background = qelNil;
        if (tableHolds(data, "Background")) {
            background = qelLoadImageResource(qelResolve(qelGet(data, "Background")));
            setProperty("Background Image", background);
        } else {
            background = qelLoadImageResource(qelResolve(getProperty("Background Image")));
        }
        bool hasBackground = background.type() == QEL_IMAGE_TYPE;

        if (tableHolds(data, "ParentsList")) {
            m_parentsList = qelGet(data, "ParentsList");
            m_isCascade = 1;
            if (qelGet(data, "UseDefaultPosition") == qelTrue) {
                m_useDefaultPosition = 1;
                if (m_parentsList.type() == QEL_LIST_TYPE && qelCount(m_parentsList) > 0 && hasBackground) {
                    qelValue last = qelGet(m_parentsList, qelCount(m_parentsList) - 1);
                    std::optional<CascadePlace> place = cascadePlacement(qelGet(last, "SubItemRect"),
                        qelWidth(background), qelHeight(background), qelMediaWidth(), qelMediaHeight());
                    if (place) {
                        setProperty("Origin X", qelMakeInt(place->x));
                        setProperty("Origin Y", qelMakeInt(place->y));
                    }
                }
            }
        }
        if (!m_useDefaultPosition) {
            for (const char* key : { "Origin X", "Origin Y" }) {
                if (tableHolds(data, key))
                    setProperty(key, qelGet(data, key));
            }
            if (tableHolds(data, "Offset X")) {
                m_offsetX = qelIntValue(qelGet(data, "Offset X"));
                setProperty("Origin X", qelMakeInt(getInt("Origin X", 0) + m_offsetX));
            }
            if (tableHolds(data, "Offset Y")) {
                m_offsetY = qelIntValue(qelGet(data, "Offset Y"));
                setProperty("Origin Y", qelMakeInt(getInt("Origin Y", 0) + m_offsetY));
            }
        }
    }

    qelMediaDialogObject::open(data);
    m_dialogRect = qelRectValue(originXValue(), originYValue(), widthValue(), heightValue());
    qelFormObject::draw();
    qelSetCursor(qelArrowCursor());
}

void ContinentesDlg::showAddedImage(const qelValue& value)
{
    m_addedImages.show(value);
}

void ContinentesDlg::close()
{
    m_addedImages.restore();
    qelMediaDialogObject::close();
}

void ContinentesDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (object && object->getProperty("Name") == "Lista") {
        qelValue text = qelPerformAction(control, "getSelectionStr");
        qelValue row = qelPerformAction(control, "getSelection");
        m_result = qelTable(4, 100, 75);
        qelPut(m_result, "Text", text);
        qelPut(m_result, "Index", row.isNil() ? qelMakeInt(-1) : row);
        endDialog();
        return;
    }
    qelMediaDialogObject::handleControl(control);
}

void ContinentesDlg::mouseMove(int32_t x, int32_t y, int32_t)
{
    if (m_isCascade && hitTest(x, y) == cascadeParentMenu) {
        m_result = qelValue(stayOpen);
        endDialog();
    }
}

void ContinentesDlg::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    int32_t hit = hitTest(x, y);
    if (hit == cascadeInside) {
        m_result = qelNil;
    } else if (m_isCascade && hit == cascadeParentMenu) {
        m_result = qelValue(stayOpen);
        endDialog();
    } else if (m_isCascade && hit == cascadeParentItem) {
        // A click on the item that opened this chooser is ignored.
        return;
    } else if (hit == cascadeOutside) {
        m_result = qelValue(closeAll);
        endDialog();
    } else {
        // Outside a menu that is not a cascade's parent: nothing of this chooser's.
        return;
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

qelValue ContinentesDlg::result()
{
    return qelCopy(m_result);
}
