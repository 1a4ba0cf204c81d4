#pragma once

// Settings: named values of the current environment that switch the framework's behaviour.
// Defaults come from the constructors; at run the registry's "Preferences" values, then the
// "QELENVIRONMENT" section of the ini file beside the program, then (on request) the registered
// user's data replace them; the application may store more at any time. Every reader states its
// own default. Values read from the registry or the ini file are strings: a string is true when
// it starts with T, t, Y or y, and reads as a number by its leading decimal digits.
//
// The registry is the read-only file "registry.reg" in the program folder (registry-export text),
// the ini file is the short name plus ".ini" in the program folder.

#include "framework/runtime/Value.h"

#include <cstdint>

// The stored value; nil when there is no current environment, no settings table or no such key.
qelValue qelGetSetting(const qelValue& name);
// The stored value, or the default.
qelValue qelGetSettingOr(const qelValue& name, const qelValue& defaultValue);
// The default when the setting is nil, else its truth (1 or 0).
int32_t qelGetBoolSetting(const qelValue& name, int32_t defaultValue);
// The default when the setting is nil, else its int value.
int32_t qelGetIntSetting(const qelValue& name, int32_t defaultValue);
// qelGetIntSetting brought into [minimum, maximum], for settings that size buffers, pools or
// windows: a value from a settings file must not stop the program or exhaust its memory.
int32_t qelGetIntSettingInRange(const qelValue& name, int32_t defaultValue, int32_t minimum, int32_t maximum);

// putSetting on the current environment with persist 1; nothing without one.
void qelSetPreference(const qelValue& name, const qelValue& value);

// The registry readers: the string values of the key "Preferences" (or "Registration" then
// "User Demographics") under HKEY_LOCAL_MACHINE, SOFTWARE, Ostrand, the title and the version go
// into the table. 1 when the key was there, else 0 (nothing read).
int32_t qelReadRegistryPreferences(const qelValue& title, const qelValue& version, const qelValue& settings);
int32_t qelReadRegistryRegistration(const qelValue& title, const qelValue& version, const qelValue& settings);
// The ini reader: every key of the section whose value is not empty goes into the table as a
// string, under the key as written. A missing file or section reads nothing.
void qelGetProfileString(const qelValue& iniPath, const qelValue& section, const qelValue& settings);

// The loading at run, in order: registry preferences, the ini section, the mirror of
// "SourceDisk" and "CDROMPATH" (when only one is present the other takes its value), and the
// registered user's data when "RegistrationFile" is present. The run passes the application's
// title, version and short name.
void qelLoadSettings(
    const qelValue& settings, const qelValue& title, const qelValue& version, const qelValue& shortName);

// Where the registry file is looked for: the program folder joined with "registry.reg".
qelValue qelRegistryFilePath();
