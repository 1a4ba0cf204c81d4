#include "app/shell/PrefsDlg.h"

#include "framework/display/Volume.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/Perform.h"
#include "framework/ui/StaticText.h"

#include <string>

namespace {

constexpr int32_t escapeKey = 27;

} // namespace

qelValue PrefsDlg::control(const char* name)
{
    qelValue value = qelResolve(getProperty(name));
    return qelControlOf(value) ? value : qelNil;
}

void PrefsDlg::showVolume(int32_t volume)
{
    qelValue label = control("VolumeValue");
    std::string text = std::to_string(volume);
    if (auto* staticText = dynamic_cast<StaticText*>(qelControlOf(label)))
        staticText->setText(qelStringValueN(text.data(), int32_t(text.size())), 1);
}

void PrefsDlg::open(const qelValue& data)
{
    qelMediaDialogObject::open(data);
    m_result = qelFalse;
    loadControls();
    draw();
    m_openingVolume = qelGetVolume();
}

void PrefsDlg::loadControls()
{
    int32_t showIntro = qelGetBoolSetting("ShowIntro", 0);
    int32_t fullScreen = qelGetBoolSetting("ShowFullScreen", 0);
    int32_t soundEffects = qelGetBoolSetting("SoundEffects", 0);
    int32_t volume = qelGetVolume();
    auto select = [this](const char* name, int32_t on) {
        qelValue box = control(name);
        if (!box.isNil())
            qelPerform(box, "Select", qelMakeBoolean(on));
    };
    select("FullVideo", fullScreen);
    select("SoundEffects", soundEffects);
    select("ShowIntro", showIntro);
    // A volume that cannot be read shows as silence.
    if (volume < 0)
        volume = 0;
    qelValue slider = control("VolumeSlider");
    if (!slider.isNil())
        qelPerform(slider, "SetPos", qelMakeInt(volume));
    showVolume(volume);
}

void PrefsDlg::restoreVolume()
{
    // A volume that could not be read at opening is not "set back" to -1.
    if (m_openingVolume >= 0)
        qelSetVolume(m_openingVolume);
}

void PrefsDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    if (name == "OKButton") {
        store();
        endDialog();
    } else if (name == "CancelButton" || name == "Fechar") {
        restoreVolume();
        endDialog();
    } else if (name == "VolumeSlider") {
        qelValue position = qelPerformAction(control, "GetPos");
        int32_t volume = position.isNil() ? 0 : qelIntValue(position);
        showVolume(volume);
        qelSetVolume(volume);
        playSound(getProperty("VolumeSound"), 0);
    } else {
        qelDialogObject::handleControl(control);
    }
}

void PrefsDlg::key(int32_t code, int32_t modifiers)
{
    // Escape leaves as Cancel does: the volume tried on the slider does not stay.
    if (code == escapeKey)
        restoreVolume();
    qelMediaDialogObject::key(code, modifiers);
}

void PrefsDlg::store()
{
    auto selected = [this](const char* name) {
        qelValue box = control(name);
        return box.isNil() ? qelFalse : qelMakeBoolean(qelIsTrue(qelPerformAction(box, "IsSelected")));
    };
    qelValue showIntro = selected("ShowIntro");
    qelValue fullVideo = selected("FullVideo");
    qelValue soundEffects = selected("SoundEffects");
    qelValue slider = control("VolumeSlider");
    qelValue position = slider.isNil() ? qelNil : qelPerformAction(slider, "GetPos");
    int32_t volume = position.isNil() ? 0 : qelIntValue(position);

    qelValue table = qelLoadResource("GlobalTable");
    qelValue prefs = qelTableOf(table) ? qelGet(table, qelValue("Preferences")) : qelNil;
    if (qelTableOf(prefs)) {
        qelPut(prefs, qelValue("RolloverHelp"), qelTrue);
        qelPut(prefs, qelValue("ShowIntro"), showIntro);
        qelPut(prefs, qelValue("FullScreenVideo"), fullVideo);
        qelPut(prefs, qelValue("ShowFullScreen"), fullVideo);
        qelPut(prefs, qelValue("MaximizeWindow"), fullVideo);
        qelPut(prefs, qelValue("SoundEffects"), soundEffects);
        qelPut(prefs, qelValue("Volume"), qelMakeInt(volume));
    }
    qelSetPreference("RolloverHelp", qelTrue);
    qelSetPreference("ShowIntro", showIntro);
    qelSetPreference("FullScreenVideo", fullVideo);
    qelSetPreference("ShowFullScreen", fullVideo);
    qelSetPreference("MaximizeWindow", fullVideo);
    qelSetPreference("SoundEffects", soundEffects);
}
