#include "framework/runtime/Settings.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class TestEnvironment : public qelEnvironmentBase { };

// A program folder with a registry file and an ini file written by the test.
struct ProgramFolder {
    explicit ProgramFolder(const char* name)
        : path(std::filesystem::path(testing::TempDir()) / name)
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        qelSetAppDirectoryFromPath((path.string() + "/velarim").c_str());
    }
    ~ProgramFolder() { qelSetAppDirectoryFromPath(""); }
    void write(const char* file, const std::string& text) const { std::ofstream(path / file) << text; }

    std::filesystem::path path;
};

const char* preferencesKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Preferences]\n";
const char* registrationKey
    = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Registration\\User Demographics]\n";

void load(const qelValue& settings)
{
    qelLoadSettings(settings, "Velarim 98", "1.0", "VL98");
}

TEST(Settings, EveryGetterGivesItsDefaultWithoutAnEnvironmentTableOrKey)
{
    ASSERT_EQ(qelCurrentEnvironment(), nullptr);
    EXPECT_TRUE(qelGetSetting("MediaPath").isNil());
    EXPECT_EQ(qelGetSettingOr("MediaPath", "."), ".");
    EXPECT_EQ(qelGetBoolSetting("TraceFileOpens", 1), 1);
    EXPECT_EQ(qelGetIntSetting("EventLimit", 50), 50);
    qelSetPreference("ShowIntro", qelTrue); // nothing to store into

    TestEnvironment environment;
    environment.makeCurrent();
    EXPECT_TRUE(qelTableOf(environment.settings));
    EXPECT_EQ(qelGetSettingOr("MediaPath", "."), ".");
    EXPECT_EQ(qelGetIntSetting("EventLimit", 50), 50);
    environment.setSetting("AltVideoPath", qelNil);
    // A key stored with nil is present: the fallback of qelGetSettingOr does not apply.
    EXPECT_TRUE(qelGetSettingOr("AltVideoPath", "x").isNil());
}

TEST(Settings, RegistryThenIniOverrideTheConstructorsDefaults)
{
    ProgramFolder folder("settings-layers");
    folder.write("registry.reg",
        std::string("REGEDIT4\n\n") + preferencesKey
            + "\"MediaPath\"=\"RegMedia\"\n\"OnlyInRegistry\"=\"r\"\n\"Overridden\"=\"registry\"\n"
              "\"Volume Range\"=dword:00000050\n\"EmptyInIni\"=\"registry\"\n");
    folder.write("VL98.ini",
        "[QELENVIRONMENT]\nOverridden = ini\nEmptyInIni =\nEventLimit=80\nTraceYes=yes\nTraceNo=no\n"
        "TraceOne=1\nTraceTrue=True\nmediapath=lower\n[OTHER]\nOther=1\n");

    TestEnvironment environment;
    environment.makeCurrent();
    environment.setSetting("MediaPath", "Media");
    environment.setSetting("Volume Range", 7);
    load(environment.settings);

    EXPECT_EQ(qelGetSetting("MediaPath"), "RegMedia");
    EXPECT_EQ(qelGetSetting("OnlyInRegistry"), "r");
    EXPECT_EQ(qelGetSetting("Overridden"), "ini");
    // An empty ini value leaves what was there; a registry number is not read.
    EXPECT_EQ(qelGetSetting("EmptyInIni"), "registry");
    EXPECT_EQ(qelGetIntSetting("Volume Range", 100), 7);
    // Keys keep their case: "mediapath" is another setting.
    EXPECT_EQ(qelGetSetting("mediapath"), "lower");
    EXPECT_TRUE(qelGetSetting("Other").isNil());

    EXPECT_EQ(qelGetIntSetting("EventLimit", 50), 80);
    EXPECT_EQ(qelGetBoolSetting("TraceYes", 0), 1);
    EXPECT_EQ(qelGetBoolSetting("TraceNo", 1), 0);
    EXPECT_EQ(qelGetBoolSetting("TraceOne", 1), 0); // only the first letter counts
    EXPECT_EQ(qelGetBoolSetting("TraceTrue", 0), 1);
    EXPECT_EQ(environment.settingsChanged, 0);
}

TEST(Settings, SourceDiskAndCdromPathMirrorOnlyWhenOneIsMissing)
{
    struct Case {
        const char* ini;
        const char* source;
        const char* cdrom;
    };
    for (Case c : {
             Case { "SourceDisk=D:\\\n", "D:\\", "D:\\" },
             Case { "CDROMPATH=E:\\\n", "E:\\", "E:\\" },
             Case { "SourceDisk=D:\\\nCDROMPATH=E:\\\n", "D:\\", "E:\\" },
             Case { "", nullptr, nullptr },
         }) {
        ProgramFolder folder("settings-mirror");
        folder.write("VL98.ini", std::string("[QELENVIRONMENT]\n") + c.ini);
        TestEnvironment environment;
        environment.makeCurrent();
        load(environment.settings);
        if (c.source) {
            EXPECT_EQ(qelGetSetting("SourceDisk"), c.source) << c.ini;
            EXPECT_EQ(qelGetSetting("CDROMPATH"), c.cdrom) << c.ini;
        } else {
            EXPECT_EQ(qelTableOf(environment.settings)->count, 0);
        }
    }
}

TEST(Settings, RegisteredUserDataIsReadOnlyWhenRegistrationFileIsSet)
{
    for (bool registered : { false, true }) {
        ProgramFolder folder("settings-registration");
        folder.write("registry.reg", std::string("REGEDIT4\n\n") + registrationKey + "\"Nome\"=\"Ana\"\n");
        folder.write("VL98.ini", registered ? "[QELENVIRONMENT]\nRegistrationFile=Registro.dat\n" : "");
        TestEnvironment environment;
        environment.makeCurrent();
        load(environment.settings);
        EXPECT_EQ(qelGetSetting("Nome").isNil(), !registered);
    }
}

TEST(Settings, ReadersReportWhetherTheirKeyWasThere)
{
    ProgramFolder folder("settings-readers");
    qelValue table = qelTable(4, 100, 75);
    EXPECT_EQ(qelReadRegistryPreferences("Velarim 98", "1.0", table), 0); // no file
    folder.write("registry.reg", std::string("REGEDIT4\n\n") + preferencesKey);
    EXPECT_EQ(qelReadRegistryPreferences("Velarim 98", "1.0", table), 1);
    EXPECT_EQ(qelReadRegistryPreferences("Velarim 98", "2.0", table), 0);
    EXPECT_EQ(qelReadRegistryRegistration("Velarim 98", "1.0", table), 0);
    qelGetProfileString((folder.path.string() + "/missing.ini").c_str(), "QELENVIRONMENT", table);
    EXPECT_EQ(qelTableOf(table)->count, 0);
}

TEST(Settings, StoresSetTheChangedFlagAndThePersistentTableAsAsked)
{
    TestEnvironment environment;
    environment.makeCurrent();
    environment.setBoolSetting("ShowIntro", 5);
    EXPECT_EQ(qelGetSetting("ShowIntro"), qelTrue);
    EXPECT_EQ(environment.settingsChanged, 0);
    environment.putSetting("Volume", 3, 0);
    EXPECT_EQ(environment.settingsChanged, 1);
    EXPECT_TRUE(environment.persistentSettings.isNil());
    qelSetPreference("SoundEffects", qelFalse);
    EXPECT_EQ(qelGetBoolSetting("SoundEffects", 1), 0);
    EXPECT_EQ(qelGet(environment.persistentSettings, qelValue("SoundEffects")), qelFalse);
    EXPECT_EQ(qelTableOf(environment.persistentSettings)->count, 1);
}

} // namespace
