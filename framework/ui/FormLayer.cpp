#include "framework/ui/FormLayer.h"

#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/ui/Bitmap.h"
#include "framework/ui/Button.h"
#include "framework/ui/CheckBox.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Factories.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Group.h"
#include "framework/ui/HotSpot.h"
#include "framework/ui/ListControls.h"
#include "framework/ui/Menu.h"
#include "framework/ui/Navigation.h"
#include "framework/ui/PhotoView.h"
#include "framework/ui/RadioButton.h"
#include "framework/ui/RadioGroup.h"
#include "framework/ui/Scroller.h"
#include "framework/ui/Slider.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Table.h"
#include "framework/ui/TextCombo.h"
#include "framework/ui/TextField.h"
#include "framework/ui/VideoView.h"

namespace {

bool controlFields(const qelValue& value, qelEncodedFields& fields)
{
    qelControlObject* control = qelControlOf(value);
    if (!control)
        return false;
    fields.values[0] = control->properties;
    return true;
}

bool formFields(const qelValue& value, qelEncodedFields& fields)
{
    qelFormObject* form = qelFormOf(value);
    if (!form)
        return false;
    fields.values[0] = form->properties;
    return true;
}

void goToForm(const qelValue& name, const qelValue& data)
{
    qelGoToFormEx(name, data, 1);
}

template<typename T> qelNamedObject* prototype()
{
    return new T(qelNil);
}

} // namespace

void qelInstallFormLayer()
{
    qelMakerHooks& makers = qelMakers();
    makers.makeControl = qelMakeControl;
    makers.makeFormFromData = qelMakeFormFromData;
    makers.controlFields = controlFields;
    makers.formFields = formFields;

    qelEnvironmentServices& services = qelServices();
    services.goToForm = goToForm;
    services.makeForm = qelMakeForm;

    qelSetControlPrototypeMaker("Button", prototype<Button>);
    qelSetControlPrototypeMaker("HotSpot", prototype<HotSpot>);
    qelSetControlPrototypeMaker("Bitmap", prototype<Bitmap>);
    qelSetControlPrototypeMaker("TextField", prototype<TextField>);
    qelSetControlPrototypeMaker("TextCombo", prototype<TextCombo>);
    qelSetControlPrototypeMaker("Group", prototype<Group>);
    qelSetControlPrototypeMaker("RadioGroup", prototype<RadioGroup>);
    qelSetControlPrototypeMaker("CheckBox", prototype<CheckBox>);
    qelSetControlPrototypeMaker("RadioButton", prototype<RadioButton>);
    qelSetControlPrototypeMaker("StaticText", prototype<StaticText>);
    qelSetControlPrototypeMaker("Scroller", prototype<Scroller>);
    qelSetControlPrototypeMaker("Slider", prototype<Slider>);
    qelSetControlPrototypeMaker("Table", prototype<Table>);
    qelSetControlPrototypeMaker("Menu", prototype<Menu>);
    qelSetControlPrototypeMaker("VideoView", prototype<VideoView>);
    qelSetControlPrototypeMaker("PhotoView", prototype<PhotoView>);
    qelInstallListControls();
}
