#include "framework/ui/ListControls.h"

#include "framework/runtime/AppEnvironment.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/ComboEdit.h"
#include "framework/ui/ListBox.h"
#include "framework/ui/MultiListBox.h"

namespace {

template<typename T> qelNamedObject* prototype()
{
    return new T(qelNil);
}

} // namespace

void qelInstallListControls()
{
    qelSetControlPrototypeMaker("ListBox", prototype<ListBox>);
    qelSetControlPrototypeMaker("MultiListBox", prototype<MultiListBox>);
    qelSetControlPrototypeMaker("ComboBox", prototype<ComboBox>);
    qelSetControlPrototypeMaker("ComboEdit", prototype<ComboEdit>);
}
