// qelevents: a manual check of the window layer. It opens the application window (640 x 480
// unless the ini file beside it says otherwise), starts the framework timer when asked, and
// prints every event the window procedure posts until the window is closed (Alt+F4 closes it
// too). It starts as the program does (app/Startup), so the options are the program's own:
// --headless, --script FILE, --disk DIR; "--ticks" starts the 250 ms timer.
//
//   qelevents            a real window (SDL)
//   qelevents --ticks    the same, with timer ticks

#include "app/Startup.h"
#include "framework/display/AppWindow.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"

#include <cstdio>

namespace {

const char* nameOf(int32_t type)
{
    switch (type) {
    case QEL_START_EVENT:
        return "start";
    case QEL_QUIT_EVENT:
        return "quit";
    case QEL_FOCUS_GAINED_EVENT:
        return "focus-gained";
    case QEL_FOCUS_LOST_EVENT:
        return "focus-lost";
    case QEL_MOUSE_MOVE_EVENT:
        return "mouse-move";
    case QEL_MOUSE_DOWN_EVENT:
        return "mouse-down";
    case QEL_DRAG_EVENT:
        return "drag";
    case QEL_MOUSE_UP_EVENT:
        return "mouse-up";
    case QEL_KEY_DOWN_EVENT:
        return "key-down";
    case QEL_KEY_UP_EVENT:
        return "key-up";
    case QEL_TICK_EVENT:
        return "tick";
    case QEL_USER_MESSAGE_EVENT:
        return "user-message";
    case QEL_COMMAND_EVENT:
        return "command";
    default:
        return "other";
    }
}

class EventPrinter : public qelEnvironmentBase {
public:
    explicit EventPrinter(const qelValue& commandLine)
    {
        makeCurrent();
        qelLoadSettings(settings, "qelevents", "1.0", "qelevents");
        for (int32_t i = 0; i < qelCount(commandLine); ++i) {
            if (qelGet(commandLine, i) == "--ticks")
                m_ticks = true;
        }
    }

    void run()
    {
        qelValue window = qelCreateMainWindow();
        qelPlaceMainWindow(window);
        while (true) {
            qelEvent event;
            qelGetEvent(event, QEL_ALL_EVENTS, -1);
            if (event.type == 0)
                continue;
            std::printf("%8u %-13s mods=%d x=%d y=%d key=0x%x", unsigned(event.time), nameOf(event.type),
                event.modifiers, event.x, event.y, unsigned(event.key));
            if (!event.a.isNil())
                std::printf(" a=%s", qelCString(qelAdd("", event.a)));
            std::printf("\n");
            std::fflush(stdout);
            if (event.type == QEL_START_EVENT && m_ticks)
                qelStartTimer(250);
            // Alt+F4 ends the program as the application does.
            if (event.type == QEL_QUIT_EVENT
                || (event.type == QEL_KEY_DOWN_EVENT && event.key == 0x40000 && (event.modifiers & QEL_ALT_KEY)))
                break;
        }
        qelStopTimer();
        qelDestroyMainWindow(window);
        qelFreeEventQueue();
    }

private:
    bool m_ticks = false;
};

qelValue version()
{
    return "1.0";
}
qelValue title()
{
    return "qelevents";
}

void createApplication(const qelValue& commandLine)
{
    auto* printer = new EventPrinter(commandLine);
    printer->run();
}

} // namespace

int main(int argc, char** argv)
{
    qelAppHooks hooks { version, title, title, createApplication };
    return velarimStart(argc, argv, hooks);
}
