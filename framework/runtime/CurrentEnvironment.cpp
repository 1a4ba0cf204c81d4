#include "framework/runtime/CurrentEnvironment.h"

#include "framework/runtime/Table.h"

namespace {

qelEnvironmentBase* current = nullptr;

void ensureTable(qelValue& table)
{
    if (table.isNil())
        table = qelTable(4, 100, 75);
}

} // namespace

qelEnvironmentBase::~qelEnvironmentBase()
{
    if (current == this)
        current = nullptr;
}

void qelEnvironmentBase::makeCurrent()
{
    current = this;
    ensureTable(settings);
}

int32_t qelEnvironmentBase::dispatch(qelEvent)
{
    return 1;
}

void qelEnvironmentBase::setSetting(const qelValue& name, const qelValue& value)
{
    ensureTable(settings);
    qelTableOf(settings)->put(name, value);
}

void qelEnvironmentBase::setBoolSetting(const qelValue& name, int32_t flag)
{
    setSetting(name, qelMakeBoolean(flag != 0));
}

void qelEnvironmentBase::putSetting(const qelValue& name, const qelValue& value, int32_t persist)
{
    ensureTable(settings);
    qelTableOf(settings)->put(name, value);
    if (persist) {
        ensureTable(persistentSettings);
        qelTableOf(persistentSettings)->put(name, value);
    }
    settingsChanged = 1;
}

qelEnvironmentBase* qelCurrentEnvironment()
{
    return current;
}

void qelDeleteCurrentEnvironment()
{
    qelEnvironmentBase* environment = current;
    current = nullptr;
    delete environment;
}
