#include "app/atlas/AtlasThemes.h"

#include "app/shell/TextPage.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/MediaFormObject.h"
#include "framework/ui/Perform.h"

#include <cstring>

namespace {

struct ThemeRow {
    const char* text;
    AtlasTheme theme;
};

// The texts in cp1252, as the menus hold them.
const ThemeRow themes[] = {
    { "Sistema", { nullptr, "an0055.avi", false } },
    { "Clima", { "mbclima", nullptr, false } },
    { "Hidrografia", { "mbhidro", nullptr, false } },
    { "Regi\xF5" "es", { "mbregio", nullptr, false } },
    { "Relevo", { "mbrelev", nullptr, false } },
    { "Vegeta\xE7\xE3o", { "mbveget2", nullptr, false } },
    { "Pol\xEDtico", { "mbpolit", nullptr, false } },
    { "Climas e Correntes", { nullptr, "an0058.avi", true } },
    { "Ecol\xF3gico", { "mdecolo", nullptr, false } },
    { "MPol\xEDtico", { "mdmundi", nullptr, false } },
};

} // namespace

AtlasTheme atlasTheme(const qelValue& text)
{
    if (!text.isString())
        return {};
    for (const ThemeRow& row : themes) {
        if (std::strcmp(qelCString(text), row.text) == 0)
            return row.theme;
    }
    return {};
}

void atlasShowInfoPage(qelMediaFormObject& form, const qelValue& name)
{
    qelValue lower = qelLowerCase(name);
    if (textpage::isValidInfo(lower) && textpage::isKnownForm(lower))
        form.goToForm(lower, qelNil);
}

bool atlasPlayVideo(qelMediaFormObject& form, const qelValue& name, bool untilStopped)
{
    if (qelGetBoolSetting("MPEG", 0))
        return false;
    qelValue video = qelResolve(form.getProperty("VideoControl"));
    qelControlObject* control = qelControlOf(video);
    if (!control)
        return false;
    qelValue looping = qelLoadResource("LoopingVideos");
    bool loops = looping.type() == QEL_LIST_TYPE && qelIndexOf(looping, qelLowerCase(name)) >= 0;
    if (untilStopped)
        control->setProperty("PlayTillStoped", qelTrue);
    control->setProperty("Disabled", qelFalse);
    qelPerform(video, "Reinitialize", name);
    form.setActiveControl(video, 1);
    qelPerform(video, "Start", qelMakeBoolean(loops ? 1 : 0));
    if (untilStopped)
        control->setProperty("PlayTillStoped", qelFalse);
    return true;
}

void atlasStopVideo(const qelValue& videoControl)
{
    qelControlObject* control = qelControlOf(videoControl);
    if (!control)
        return;
    control->setProperty("Disabled", qelTrue);
    qelPerformAction(videoControl, "Stop");
    qelPerformAction(videoControl, "Uninitialize");
}
