#include "framework/runtime/Settings.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/IniFile.h"
#include "platform/sys/RegFile.h"

#include <algorithm>
#include <string>

namespace {

std::string textOf(const qelValue& value)
{
    if (qelStringObject* string = qelStringOf(value))
        return std::string(string->chars(), size_t(string->length()));
    return {};
}

qelValue stringValue(const std::string& text)
{
    return qelStringValueN(text.data(), int32_t(text.size()));
}

// A path of the framework (cp1252, either separator) as the host opens it.
std::string hostPath(const qelValue& path)
{
    std::string text = textOf(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return platform::cp1252::toUtf8(text);
}

void store(const qelValue& settings, const std::string& name, const std::string& value)
{
    if (qelTableObject* table = qelTableOf(settings))
        table->put(stringValue(name), stringValue(value));
}

int32_t readRegistryKey(const std::string& keyPath, const qelValue& settings)
{
    auto file = platform::RegFile::load(hostPath(qelRegistryFilePath()));
    if (!file)
        return 0;
    auto values = file->stringValues(keyPath);
    if (!values)
        return 0;
    for (const platform::RegValue& value : *values)
        store(settings, value.name, value.data);
    return 1;
}

std::string applicationKey(const qelValue& title, const qelValue& version)
{
    return "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\" + textOf(title) + "\\" + textOf(version);
}

} // namespace

qelValue qelGetSetting(const qelValue& name)
{
    qelEnvironmentBase* environment = qelCurrentEnvironment();
    if (!environment)
        return qelNil;
    qelTableObject* table = qelTableOf(environment->settings);
    if (!table)
        return qelNil;
    return table->get(name);
}

qelValue qelGetSettingOr(const qelValue& name, const qelValue& defaultValue)
{
    qelEnvironmentBase* environment = qelCurrentEnvironment();
    qelTableObject* table = environment ? qelTableOf(environment->settings) : nullptr;
    if (!table || table->find(name) < 0)
        return defaultValue;
    return table->get(name);
}

int32_t qelGetBoolSetting(const qelValue& name, int32_t defaultValue)
{
    qelValue value = qelGetSetting(name);
    if (value.isNil())
        return defaultValue;
    return qelIsTrue(value) ? 1 : 0;
}

int32_t qelGetIntSetting(const qelValue& name, int32_t defaultValue)
{
    qelValue value = qelGetSetting(name);
    if (value.isNil())
        return defaultValue;
    return qelIntValue(value);
}

int32_t qelGetIntSettingInRange(const qelValue& name, int32_t defaultValue, int32_t minimum, int32_t maximum)
{
    return std::clamp(qelGetIntSetting(name, defaultValue), minimum, maximum);
}

void qelSetPreference(const qelValue& name, const qelValue& value)
{
    if (qelEnvironmentBase* environment = qelCurrentEnvironment())
        environment->putSetting(name, value, 1);
}

qelValue qelRegistryFilePath()
{
    return qelPathJoin(qelAppDirectory(), "registry.reg");
}

int32_t qelReadRegistryPreferences(const qelValue& title, const qelValue& version, const qelValue& settings)
{
    return readRegistryKey(applicationKey(title, version) + "\\Preferences", settings);
}

int32_t qelReadRegistryRegistration(const qelValue& title, const qelValue& version, const qelValue& settings)
{
    return readRegistryKey(applicationKey(title, version) + "\\Registration\\User Demographics", settings);
}

void qelGetProfileString(const qelValue& iniPath, const qelValue& section, const qelValue& settings)
{
    for (const platform::IniEntry& entry : platform::readIniSectionSettings(hostPath(iniPath), textOf(section)))
        store(settings, entry.key, entry.value);
}

void qelLoadSettings(
    const qelValue& settings, const qelValue& title, const qelValue& version, const qelValue& shortName)
{
    qelTableObject* table = qelTableOf(settings);
    if (!table)
        return;
    qelReadRegistryPreferences(title, version, settings);
    qelGetProfileString(qelPathJoin(qelAppDirectory(), shortName + ".ini"), "QELENVIRONMENT", settings);

    bool hasCdrom = table->find("CDROMPATH") >= 0;
    bool hasSource = table->find("SourceDisk") >= 0;
    if (!hasCdrom && hasSource)
        table->put("CDROMPATH", table->get("SourceDisk"));
    else if (hasCdrom && !hasSource)
        table->put("SourceDisk", table->get("CDROMPATH"));

    if (table->find("RegistrationFile") >= 0)
        qelReadRegistryRegistration(title, version, settings);
}
