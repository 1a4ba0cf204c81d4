#include "framework/runtime/Environment.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

namespace {

int32_t quitFlag = 0;

qelFormEventProtocol* activeFormOf(const qelEnvironment& environment)
{
    return environment.activeForm.isNil() ? nullptr : qelFormEventsOf(environment.activeForm);
}

qelValue hookValue(qelValue (*hook)())
{
    return hook ? hook() : qelNil;
}

} // namespace

qelFormEventProtocol* qelFormEventsOf(const qelValue& form)
{
    if (!form.object())
        return nullptr;
    return dynamic_cast<qelFormEventProtocol*>(form.object());
}

qelEnvironment::qelEnvironment()
{
    qelInstallResourceMakers();
}

qelEnvironment::~qelEnvironment()
{
    // The form and the history go while the settings, the globals and the event pool are still
    // there: closing a form may stop a sound (which posts a notice) or read a setting, and a pool
    // made again after it was freed would never be freed.
    activeForm = qelNil;
    history = qelNil;
    mainWindow = qelNil;
    qelFreeEventQueue();
    persistentSettings = qelNil;
    settings = qelNil;
    globals = qelNil;
}

qelEnvironment* qelCurrentEnv()
{
    return dynamic_cast<qelEnvironment*>(qelCurrentEnvironment());
}

int32_t qelQuitFlag()
{
    return quitFlag;
}

void qelSetQuitFlag(int32_t flag)
{
    quitFlag = flag;
}

void qelEnvironment::run()
{
    settingsChanged = 0;
    quitFlag = 0;

    if (settings.isNil())
        settings = qelTable(4, 100, 75);
    const qelAppHooks* hooks = qelApplicationHooks();
    auto name = [&](qelValue (*hook)()) { return hooks ? hookValue(hook) : qelValue(); };
    qelLoadSettings(settings, name(hooks ? hooks->appTitle : nullptr), name(hooks ? hooks->appVersion : nullptr),
        name(hooks ? hooks->appShortName : nullptr));

    qelResourceTypes();

    qelEnvironmentServices& services = qelServices();
    mainWindow = services.createMainWindow();
    registerClasses();
    services.placeMainWindow(mainWindow);

    while (!quitFlag) {
        qelEvent event;
        qelGetEvent(event, QEL_ALL_EVENTS, -1);
        if (!dispatch(event))
            break;
    }

    shutdown();
    services.closeAllMovies();
    services.stopCurrentSound();
    services.resetDefaultFont();
    services.setCursor(qelNil);
    services.destroyMainWindow(mainWindow);
}

int32_t qelEnvironment::dispatch(qelEvent event)
{
    switch (event.type) {
    case QEL_START_EVENT:
        onStart();
        break;
    case QEL_QUIT_EVENT:
        if (onQuit())
            return 0;
        break;
    case QEL_FOCUS_GAINED_EVENT:
        onActivate();
        break;
    case QEL_FOCUS_LOST_EVENT:
        onDeactivate();
        break;
    case QEL_MOUSE_MOVE_EVENT:
        onMouseMove(event.x, event.y, event.modifiers);
        break;
    case QEL_MOUSE_DOWN_EVENT:
        onMouseDown(event.x, event.y, event.modifiers, event.key);
        break;
    case QEL_DRAG_EVENT:
        onMouseDrag(event.x, event.y, event.modifiers);
        break;
    case QEL_MOUSE_UP_EVENT:
        onMouseUp(event.x, event.y, event.modifiers);
        break;
    case QEL_KEY_DOWN_EVENT:
        onKey(event.key, event.modifiers);
        break;
    case QEL_KEY_UP_EVENT:
        onKeyUp(event.key, event.modifiers);
        break;
    case QEL_TICK_EVENT:
        onTick();
        break;
    case QEL_INACTIVITY_EVENT:
        onIdle();
        break;
    case QEL_MEDIA_NOTICE_EVENT:
        onMediaNotice(qelArgument(event.a, 0), qelArgument(event.a, 1));
        break;
    case QEL_NOTIFY_EVENT:
        onNotify(event.modifiers);
        break;
    case QEL_USER_MESSAGE_EVENT:
        onUserMessage(event.key, event.a);
        break;
    case QEL_COMMAND_EVENT:
        onCommand(event.a);
        break;
    default:
        // The empty event of a time-out, and any type that is not exactly one known bit.
        break;
    }
    return 1;
}

void qelEnvironment::onStart()
{
    qelGoToForm(qelGetSettingOr("StartupForm", "startup.frm"), qelNil);
}

int32_t qelEnvironment::onQuit()
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->close();
    return 1;
}

void qelEnvironment::onActivate()
{
    qelServices().setCursor(qelNil);
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->activate();
}

void qelEnvironment::onDeactivate()
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->deactivate();
}

void qelEnvironment::onMouseMove(int32_t x, int32_t y, int32_t modifiers)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->mouseMove(x, y, modifiers);
    else if (activeForm.isNil())
        qelServices().setCursor(qelNil);
}

void qelEnvironment::onMouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->mouseDown(x, y, modifiers, clicks);
}

void qelEnvironment::onMouseDrag(int32_t x, int32_t y, int32_t modifiers)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->mouseDrag(x, y, modifiers);
}

void qelEnvironment::onMouseUp(int32_t x, int32_t y, int32_t modifiers)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->mouseUp(x, y, modifiers);
}

void qelEnvironment::onKey(int32_t keyCode, int32_t modifiers)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->key(keyCode, modifiers);
}

void qelEnvironment::onKeyUp(int32_t keyCode, int32_t modifiers)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->keyUp(keyCode, modifiers);
}

void qelEnvironment::onTick()
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->tick();
}

void qelEnvironment::onIdle()
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->idle();
}

void qelEnvironment::onMediaNotice(const qelValue& media, const qelValue& notice)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->mediaNotify(media, notice);
}

void qelEnvironment::onNotify(int32_t parameter)
{
    if (qelFormEventProtocol* form = activeFormOf(*this))
        form->notify(parameter);
}

void qelEnvironment::registerClass(qelNamedObject* prototype)
{
    if (!prototype)
        return;
    // The registry owns the prototype from here on, also when the name is refused.
    qelValue held = qelMakeObjectValue(QEL_OBJECT_TYPE, prototype);
    qelValue name = qelStringValue(prototype->className());
    if (globals.isNil())
        globals = qelTable(4, 100, 75);
    qelTableObject* table = qelTableOf(globals);
    qelValue registry = table->get("Classes");
    if (!qelTableOf(registry)) {
        registry = qelTable(4, 100, 75);
        table->put("Classes", registry);
    }
    qelTableObject* classes = qelTableOf(registry);
    if (classes->find(name) >= 0) {
        qelError("Class already registered: " + name);
        return;
    }
    classes->put(name, held);
}

void qelEnvironment::setGlobal(const qelValue& key, const qelValue& value)
{
    if (globals.isNil())
        globals = qelTable(4, 100, 75);
    qelTableOf(globals)->put(key, value);
}

qelValue qelArgument(const qelValue& list, int32_t index)
{
    return qelGet(list, index);
}

void qelLocalizeEvent(qelEvent& event)
{
    qelEnvironment* environment = qelCurrentEnv();
    if (!environment)
        return;
    if (qelFormEventProtocol* form = activeFormOf(*environment))
        form->globalToLocal(event.x, event.y);
}

qelValue qelActiveForm()
{
    qelEnvironment* environment = qelCurrentEnv();
    return environment ? environment->activeForm : qelNil;
}

void qelSetActiveForm(const qelValue& form)
{
    if (qelEnvironment* environment = qelCurrentEnv())
        environment->activeForm = form;
}

void qelGoToForm(const qelValue& name, const qelValue& data)
{
    qelServices().goToForm(name, data);
}

uint32_t qelMainWindowHandle()
{
    qelEnvironment* environment = qelCurrentEnv();
    return environment ? qelServices().windowHandle(environment->mainWindow) : 0;
}

int32_t qelShowHelp(const qelValue& helpFile, int32_t topic)
{
    return qelServices().showHelp(helpFile, topic);
}

void qelHelpQuit()
{
    qelServices().helpQuit();
}
