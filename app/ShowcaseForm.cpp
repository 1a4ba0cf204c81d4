#include "app/ShowcaseForm.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/History.h"

#include <string>

void ShowcaseForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    if (object->getProperty("Name") == "GoBack") {
        qelHistoryGo(1, 1);
        return;
    }
    // A link in a text view goes to the form its target names ("jump:Segunda").
    qelValue context = object->perform(qelValue("GetContext"), qelNil);
    if (context.isString() && qelFindString(context, "jump:", 0) == 0) {
        qelHistoryGoTo(qelMid(context, 5, qelCount(context) - 5), qelNil);
        return;
    }
    // A print button prints the text of the view it names, with the button's print attributes.
    qelValue viewName = object->getProperty("PrintView");
    if (!viewName.isNil()) {
        qelControlObject* view = qelControlOf(findControl(qelValue("Name"), viewName));
        if (!view)
            return;
        qelValue options = qelCopy(object->getProperty("PrintAttributes"));
        if (options.type() != QEL_TABLE_TYPE)
            options = qelTable(4, 100, 75);
        qelPut(options, qelValue("Text"), view->getProperty("Text"));
        view->perform(qelValue("Print"), options);
        return;
    }
    // A play button starts the video view it names as the almanac's pages do: cleared of
    // "Disabled", opened on its movie, made the active control (which alone hears the movie's
    // end) and started once.
    qelValue videoName = object->getProperty("Video");
    if (!videoName.isNil()) {
        qelValue video = findControl(qelValue("Name"), videoName);
        qelControlObject* view = qelControlOf(video);
        if (!view)
            return;
        view->setProperty("Disabled", qelFalse);
        if (!qelIsTrue(view->perform(qelValue("Reinitialize"), view->getProperty("VideoName"))))
            return;
        setActiveControl(video, 1);
        view->perform(qelValue("Start"), qelFalse);
        return;
    }
    qelValue dialog = object->getProperty("Dialog");
    if (!dialog.isNil()) {
        qelRunDialog(dialog, qelNil);
        return;
    }
    qelValue target = object->getProperty("Target Form");
    if (!target.isNil())
        qelHistoryGoTo(target, qelNil);
}

void ShowcaseForm::close()
{
    // As the almanac's pages end a movie: disabled, stopped, closed.
    qelValue list = controlList();
    for (int32_t i = 0, n = list.type() == QEL_LIST_TYPE ? qelCount(list) : 0; i < n; ++i) {
        qelControlObject* control = qelControlOf(qelResolve(qelGet(list, i)));
        if (!control || std::string(control->className()) != "VideoView")
            continue;
        control->setProperty("Disabled", qelTrue);
        control->perform(qelValue("Stop"), qelNil);
        control->perform(qelValue("Uninitialize"), qelNil);
    }
    qelFormObject::close();
}

void ShowcaseForm::afterOpen()
{
    qelHistoryUpdateButtons();
}
