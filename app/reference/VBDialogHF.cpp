#include "app/reference/VBDialogHF.h"

#include "app/reference/TourFile.h"
#include "app/shell/NamedControl.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

qelValue VBDialogHF::control(const char* name)
{
    return namedControl(*this, name);
}

void VBDialogHF::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    loadResourceTable();
    qelValue background
        = hasProperty("Background Image") ? qelLoadImageResource(getProperty("Background Image")) : qelNil;
    m_tours = readTours();
    m_currentTour = qelNil;
    qelValue names = qelTableOf(m_tours) ? qelGet(m_tours, qelValue(tourNamesKey)) : qelNil;
    if (qelListObjectOf(names) && qelCount(names) > 0) {
        qelValue roteiros = control("Roteiros");
        if (qelControlOf(roteiros)) {
            qelPerform(roteiros, "setList", names);
            qelPerformAction(roteiros, "Initialize");
            qelPerform(roteiros, "setSelection", qelMakeInt(0));
        }
        m_currentTour = qelGet(m_tours, qelGet(names, 0));
        if (!qelListObjectOf(m_currentTour))
            m_currentTour = qelNewIntList(4);
        qelValue entries = control("VBListBox");
        if (qelControlOf(entries)) {
            qelPerform(entries, "setList", m_currentTour);
            qelPerformAction(entries, "Initialize");
        }
    }
    m_result = qelNil;
    int32_t x = qelIntValue(qelResolve(getProperty("Origin X")));
    int32_t y = qelIntValue(qelResolve(getProperty("Origin Y")));
    bool measured = background.type() == QEL_IMAGE_TYPE;
    m_frameRect = qelRectValue(x, y, measured ? qelWidth(background) : 0, measured ? qelHeight(background) : 0);
    qelMediaDialogObject::open(data);
}

void VBDialogHF::close()
{
    m_tours = qelNil;
    qelMediaDialogObject::close();
}

void VBDialogHF::handleControl(const qelValue& object)
{
    qelValue self = qelFormValue(this);
    qelControlObject* target = qelControlOf(object);
    qelValue name = target ? qelResolve(target->getProperty("Name")) : qelNil;
    if (name == "Roteiros") {
        int32_t i = qelIntValue(qelPerformAction(object, "getSelection"));
        if (!qelTableOf(m_tours) || i < 0)
            return;
        m_currentTour = qelGet(m_tours, qelPerformAction(object, "getSelectionStr"));
        if (!qelListObjectOf(m_currentTour))
            m_currentTour = qelNewIntList(4);
        qelValue entries = control("VBListBox");
        if (qelControlOf(entries)) {
            qelPerform(entries, "setList", m_currentTour);
            qelPerformAction(entries, "Draw");
        }
        return;
    }
    if (name == "VBListBox") {
        if (!qelIsTrue(qelPerformAction(object, "dblClicked")))
            return;
        int32_t i = qelIntValue(qelPerformAction(object, "getSelection"));
        if (i < 0)
            return;
        m_result = qelTable(4, 100, 75);
        qelPut(m_result, "Text", qelPerformAction(object, "getSelectionStr"));
        qelPut(m_result, "Index", qelMakeInt(i));
        qelPut(m_result, "BrowseList", m_currentTour);
        qelPut(m_result, "Roteiro", qelTrue);
        endDialog();
    }
}

void VBDialogHF::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (!qelContainsPoint(m_frameRect, x, y)) {
        m_result = qelNil;
        endDialog();
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}
