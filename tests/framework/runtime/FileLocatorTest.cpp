// Locating content files: folder settings by extension (one folder or a ";" list), the media
// folder, the source-disk fallback of a full install, names matched ignoring case, and the trace.

#include "framework/runtime/FileLocator.h"
#include "ErrorRecorder.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

class Locator : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-locate-" + std::to_string(std::random_device {}()));
        for (const char* folder : { "dirA", "dirB", "disk/Media", "Media" })
            fs::create_directories(root / folder);
        environment.makeCurrent();
    }
    void TearDown() override { fs::remove_all(root); }

    std::string at(const char* relative) const { return (root / relative).string(); }
    void touch(const char* relative) { std::ofstream(root / relative) << "x"; }
    void set(const char* name, const std::string& value) { environment.setSetting(name, value.c_str()); }
    std::string locate(const char* name, const qelValue& extension)
    {
        return qelCString(qelLocateFile(name, extension));
    }

    fs::path root;
    qelEnvironment environment;
};

} // namespace

TEST_F(Locator, WithoutAFolderSettingTheMediaFolderIsUsed)
{
    // Only the extension is put in lower case, and the joins put one backslash between parts.
    environment.setSetting("SourceDisk", "D:\\");
    environment.setSetting("MediaPath", "Media");
    EXPECT_EQ(locate("Atlas", "DAT"), "D:\\Media\\Atlas.dat");
    // A name with its own extension is left as it is.
    EXPECT_EQ(locate("Verbetes.DAT", qelNil), "D:\\Media\\Verbetes.DAT");
}

TEST_F(Locator, AFolderListIsTriedInOrderThenTheSourceDiskOfAFullInstall)
{
    set("dat", at("dirA") + ";" + at("dirB"));
    environment.setSetting("MediaPath", "Media");
    set("SourceDisk", at("disk"));
    std::string inB = at("dirB") + "\\Atlas.dat";

    // Nowhere: the last folder.
    EXPECT_EQ(locate("Atlas", "DAT"), inB);
    // Only in the second folder, spelled in capitals there.
    touch("dirB/ATLAS.DAT");
    EXPECT_EQ(locate("Atlas", "DAT"), inB);
    EXPECT_TRUE(qelLocatedFileExists(qelLocateFile("Atlas", "DAT")));
    // The first folder that holds it wins, even on a full install.
    set("FullInstall", "no");
    touch("dirA/Atlas.dat");
    EXPECT_EQ(locate("Atlas", "DAT"), at("dirA") + "\\Atlas.dat");

    // In no folder: a full install takes it from the source disk's media folder.
    EXPECT_EQ(locate("Verbetes", "dat"), at("disk") + "\\Media\\Verbetes.dat");
    // A name with its own extension picks the folder setting of that extension in lower case.
    touch("dirA/Mapa.Dat");
    EXPECT_EQ(locate("Mapa.Dat", qelNil), at("dirA") + "\\Mapa.Dat");
}

TEST_F(Locator, OneFolderSettingAndTheFullInstallFallback)
{
    set("idx", at("dirA"));
    environment.setSetting("MediaPath", "Media");
    EXPECT_EQ(locate("Verbetes", "IDX"), at("dirA") + "\\Verbetes.idx");
    set("SourceDisk", at("disk"));
    set("FullInstall", "yes");
    EXPECT_EQ(locate("Verbetes", "IDX"), at("disk") + "\\Media\\Verbetes.idx");
    EXPECT_EQ(qelIsFullInstall(), 1);
    touch("dirA/verbetes.IDX");
    EXPECT_EQ(locate("Verbetes", "IDX"), at("dirA") + "\\Verbetes.idx");
}

TEST_F(Locator, AMissingFileIsAnnouncedWithTraceFileOpens)
{
    platform::HeadlessBackend::Options options;
    options.exitWhenStuck = false;
    auto backend = std::make_unique<platform::HeadlessBackend>(options);
    backend->setScript(std::get<platform::Script>(platform::Script::parse("answer 1\nwait 100000\n")));
    platform::HeadlessBackend* headless = backend.get();
    platform::WindowSystem system(std::move(backend));
    qelSetWindowSystem(&system);

    set("etn", at("dirA"));
    set("TraceFileOpens", "1");
    locate("global", "etn");
    EXPECT_TRUE(headless->messageBoxes().empty());
    set("TraceFileOpens", "yes");
    locate("global", "etn");
    ASSERT_EQ(headless->messageBoxes().size(), 1u);
    EXPECT_EQ(headless->messageBoxes()[0].text, "N\xe3o foi poss\xedvel localizarglobal.etn");
    touch("dirA/global.etn");
    locate("global", "etn");
    EXPECT_EQ(headless->messageBoxes().size(), 1u);
    qelSetWindowSystem(nullptr);
}

TEST_F(Locator, TypedPropertiesTakeOnlyTheirOwnType)
{
    qelValue table = qelTable(4, 100, 75);
    qelPut(table, "Numero", "5");
    qelPut(table, "Inteiro", 5);
    qelPut(table, "Sim", qelTrue);
    EXPECT_EQ(qelGetIntProperty(table, "Numero", -1), -1);
    EXPECT_EQ(qelReadIntProperty(table, "Inteiro", -1), 5);
    EXPECT_EQ(qelGetIntProperty(table, "Ausente", -1), -1);
    EXPECT_EQ(qelGetBoolProperty(table, "Sim", 0), 1);
    EXPECT_EQ(qelGetBoolProperty(table, "Inteiro", 7), 7);
    EXPECT_TRUE(qelGetOr(table, "Ausente", "padrao") == "padrao");
}
