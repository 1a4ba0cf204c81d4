#include "framework/ui/MediaServices.h"

#include "framework/display/Sound.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/HelpLaunch.h"

namespace {

// The form's tab list when it is a general list with elements.
qelListObject* tabStops(qelFormObject& form)
{
    qelListObject* list = qelListObjectOf(form.getProperty("TabStopList"));
    if (!list || list->kind() != QEL_GENERAL_LIST || list->count <= 0)
        return nullptr;
    return list;
}

bool unavailable(const qelValue& element)
{
    qelControlObject* control = qelControlOf(element);
    return control && (qelIsTrue(control->getProperty("Disabled")) || qelIsTrue(control->getProperty("Hidden")));
}

bool canTakeFocus(const qelValue& element)
{
    qelControlObject* control = qelControlOf(element);
    return control && control->canActivate();
}

} // namespace

bool qelTabToNextStop(qelFormObject& form, int32_t modifiers, bool skipUnavailable)
{
    qelListObject* list = tabStops(form);
    if (!list)
        return false;
    qelValue keep = form.getProperty("TabStopList");
    int32_t n = list->count;
    int32_t step = (modifiers & 1) ? -1 : 1;
    qelControlObject* active = qelControlOf(qelResolve(form.activeControl));
    int32_t i = -1;
    for (int32_t k = 0; k < n && active; ++k) {
        if (qelControlOf(qelResolve(list->elementAt(k))) == active) {
            i = k;
            break;
        }
    }
    if (i < 0) {
        form.setActiveControl(qelResolve(list->elementAt(0)), 1);
        return true;
    }
    int32_t j = (n + i + step) % n;
    if (skipUnavailable) {
        for (int32_t tries = 0; tries < n && unavailable(qelResolve(list->elementAt(j))); ++tries)
            j = (n + j + step) % n;
    }
    // A stop that refuses the focus (a disabled control) is passed over even where unavailable
    // stops are not skipped: otherwise Tab would stay on the stop before it for good.
    for (int32_t tries = 0; tries < n && !canTakeFocus(qelResolve(list->elementAt(j))); ++tries)
        j = (n + j + step) % n;
    form.setActiveControl(qelResolve(list->elementAt(j)), 1);
    return true;
}

void qelActivateFirstTabStop(qelFormObject& form)
{
    qelValue keep = form.getProperty("TabStopList");
    if (qelListObject* list = tabStops(form))
        form.setActiveControl(qelResolve(list->elementAt(0)), 1);
}

qelValue qelScreenSound(const qelValue& sound)
{
    qelValue found;
    if (!sound.isString()) {
        found = qelResolve(sound);
    } else {
        qelValue name = sound;
        if (qelFindChar(name, '.', 0) < 0)
            name = name + "." + qelGetSetting("AudioExtension");
        found = qelLoadResource(name);
    }
    return found.type() == QEL_SOUND_TYPE ? found : qelNil;
}

void qelStopScreenSound(qelValue& sound)
{
    if (sound.isNil())
        return;
    qelValue playing = sound;
    sound = qelNil;
    qelStop(playing);
}

int32_t qelStartScreenSound(const qelValue& sound, int32_t loop)
{
    qelStopCurrentSound();
    // A sound that could not be loaded has nothing to play (rather than a type error that would
    // end the program).
    if (sound.type() != QEL_SOUND_TYPE)
        return 0;
    return loop ? qelPlayLooped(sound) : qelPlay(sound, 0, -1, 0);
}

void qelNarrateForm(qelFormObject& form, int32_t force, const std::function<int32_t(const qelValue&, int32_t)>& play)
{
    qelEnvironmentServices& services = qelServices();
    qelValue previous = services.setCursor(services.waitCursor());
    do {
        if (!force && !qelGetBoolSetting("SoundEffects", 0))
            break;
        qelValue name = form.formName();
        qelValue narrated = name + "Narrator";
        qelValue audioHelp = name + "AudioHelp";
        if (!force && (qelGetBoolSetting(narrated, 0) || !qelGetBoolSetting("PlayNarrator", 0)))
            break;
        if (form.hasProperty(audioHelp))
            play(form.getProperty(audioHelp), 0);
        qelSetPreference(narrated, qelTrue);
    } while (false);
    if (!previous.isNil())
        services.setCursor(previous);
}

qelValue qelApplicationHelpFile()
{
    const qelAppHooks* hooks = qelApplicationHooks();
    qelValue shortName = hooks && hooks->appShortName ? hooks->appShortName() : qelValue("");
    qelValue file = shortName + ".hlp";
    qelValue path = qelPathJoin(qelAppDirectory(), file);
    if (!qelHelpFileExists(path))
        path = qelPathJoin(qelGetSettingOr("SourceDisk", ""), file);
    return path;
}

void qelShowApplicationHelp(int32_t topic)
{
    qelShowHelp(qelApplicationHelpFile(), topic);
}

void qelDisableMenuItem(const qelValue& menu, const qelValue& item)
{
    qelTableObject* disabled = qelTableOf(qelLoadResource("DisabledMenuItemsTable"));
    if (!disabled)
        return;
    qelValue items = disabled->get(menu);
    if (!qelTableOf(items)) {
        items = qelTable(4, 100, 75);
        disabled->put(menu, items);
    }
    qelTableOf(items)->put(item, qelTrue);
}

void qelEnableMenuItem(const qelValue& menu, const qelValue& item)
{
    qelTableObject* disabled = qelTableOf(qelLoadResource("DisabledMenuItemsTable"));
    if (!disabled)
        return;
    if (qelTableObject* items = qelTableOf(disabled->get(menu)))
        items->remove(item);
}
