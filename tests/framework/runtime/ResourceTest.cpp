// Resource loading by name: the active form and the globals before files, file types by
// extension in any case, references loaded on each use, names that lead back to themselves, the
// class registry and compiled resources.

#include "framework/runtime/Resource.h"
#include "ErrorRecorder.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextNotation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

void writeEncoded(const fs::path& path, const qelValue& value)
{
    qelValue stream = qelOpenFileStream(path.string().c_str(), qelFileStream::Writable | qelFileStream::Create, 0);
    ASSERT_TRUE(qelEncode(stream, value));
    qelStreamFlush(stream);
}

qelValue tableOf(const char* key, const qelValue& value)
{
    qelValue table = qelTable(4, 100, 75);
    qelTableOf(table)->put(key, value);
    return table;
}

// A form whose properties are a table of its own.
class PropertyForm final : public qelObject, public qelPropertyProtocol {
public:
    qelValue propertyAt(int32_t slot) override { return qelTableOf(properties)->valueAt(slot); }
    qelValue getProperty(const qelValue& key) override { return qelTableOf(properties)->get(key); }
    void setProperty(const qelValue& key, const qelValue& value) override { qelTableOf(properties)->put(key, value); }
    void removeProperty(const qelValue& key) override { qelTableOf(properties)->remove(key); }
    int32_t hasProperty(const qelValue& key) override { return qelTableOf(properties)->find(key) >= 0; }

    qelValue properties = qelTable(4, 100, 75);
};

// A control class of the given name, as a control layer would install one.
class NamedControlClass final : public qelNamedObject {
public:
    explicit NamedControlClass(const char* name)
        : m_name(name)
    {
    }
    const char* className() const override { return m_name; }
    qelNamedObject* newInstance(const qelValue&) override { return new NamedControlClass(m_name); }

private:
    const char* m_name;
};

template<size_t... I> void installNamedControlClasses(std::index_sequence<I...>)
{
    (qelSetControlPrototypeMaker(
         qelFrameworkControlClasses[I], [] -> qelNamedObject* { return new NamedControlClass(qelFrameworkControlClasses[I]); }),
        ...);
}

class Resources : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-resource-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media");
        environment.makeCurrent();
        environment.setSetting("SourceDisk", root.string().c_str());
        environment.setSetting("MediaPath", "Media");
    }
    void TearDown() override
    {
        qelResetServices();
        qelResetMakers();
        fs::remove_all(root);
    }
    fs::path media() const { return root / "Media"; }

    ErrorRecorder errors;
    fs::path root;
    qelEnvironment environment;
};

} // namespace

TEST_F(Resources, AFormPropertyShadowsAFileAndTheGlobalsComeNext)
{
    writeText(media() / "cores.tbl", "(table (\"origem\" \"arquivo\"))");
    auto* form = new PropertyForm;
    qelValue formValue = qelMakeObjectValue(QEL_FORM_TYPE, form);
    environment.activeForm = formValue;

    // The file is read while neither the form nor the globals name it.
    EXPECT_TRUE(qelGet(qelLoadResource("cores.tbl"), qelValue("origem")) == "arquivo");

    environment.setGlobal("cores.tbl", "global");
    EXPECT_TRUE(qelLoadResource("cores.tbl") == "global");

    form->setProperty("cores.tbl", "form");
    EXPECT_TRUE(qelLoadResource("cores.tbl") == "form");
    environment.activeForm = qelNil;
}

TEST_F(Resources, FilesAreTypedByTheirExtensionInAnyCase)
{
    writeText(media() / "PHOTO.BMP", "BM not really a bitmap");
    writeText(media() / "lista.lst", "(list \"um\" \"dois\")");
    writeText(media() / "vazio.txt", "");
    writeText(media() / "clique.WAV", "RIFF");
    writeText(media() / "notas.xyz", "(list 1)");
    writeText(media() / "semextensao", "(list 1)");
    writeEncoded(media() / "Dados.etn", tableOf("n", 7));

    struct Case {
        const char* name;
        int32_t type;
    } cases[] = {
        { "PHOTO.BMP", QEL_IMAGE_TYPE },
        { "photo.bmp", QEL_IMAGE_TYPE },
        { "Photo.Bmp", QEL_IMAGE_TYPE },
        { "lista.lst", QEL_LIST_TYPE },
        { "LISTA.LST", QEL_LIST_TYPE },
        { "dados.etn", QEL_TABLE_TYPE },
        { "clique.wav", QEL_SOUND_TYPE },
        { "notas.xyz", QEL_NIL_TYPE },
        { "semextensao", QEL_NIL_TYPE },
        { "ausente.bmp", QEL_NIL_TYPE },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qelLoadResource(c.name).type(), c.type) << c.name;

    // The image maker gets the bytes, the sound maker the path.
    qelEncodedFields image;
    ASSERT_TRUE(qelFieldsOf(qelLoadResource("photo.bmp"), image));
    EXPECT_TRUE(image.values[0] == "dib");
    EXPECT_EQ(qelCount(image.values[1]), 22);
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(Resources, AnEmptyFileLoadsAsAnEmptyBuffer)
{
    writeText(media() / "vazio.txt", "");
    qelValue buffer = qelLoadFileBuffer((media() / "vazio.txt").string().c_str(), 0);
    ASSERT_EQ(buffer.type(), QEL_BUFFER_TYPE);
    EXPECT_EQ(qelCount(buffer), 0);
    EXPECT_TRUE(qelLoadFileBuffer((media() / "none.txt").string().c_str(), 0).isNil());
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(Resources, AReferenceIsLoadedOnEachUse)
{
    writeEncoded(media() / "alvo.etn", tableOf("n", 1));
    // A reference written in the text notation is this loader's reference.
    environment.setGlobal("AliasTeste", qelDecodeText("(reference \"alvo.etn\")"));
    ASSERT_EQ(qelTableOf(environment.globals)->get("AliasTeste").type(), QEL_REFERENCE_TYPE);

    EXPECT_TRUE(qelGet(qelLoadResource("AliasTeste"), qelValue("n")) == 1);
    writeEncoded(media() / "alvo.etn", tableOf("n", 2));
    EXPECT_TRUE(qelGet(qelLoadResource("AliasTeste"), qelValue("n")) == 2);
    // The generic operations reach through it too.
    EXPECT_TRUE(qelGet(qelMakeReference("alvo.etn"), qelValue("n")) == 2);

    // It encodes as a reference to the same name.
    qelValue memory = qelDecodeText("(reference \"alvo.etn\")");
    EXPECT_TRUE(qelReferenceName(memory) == "alvo.etn");
}

TEST_F(Resources, NamesThatLeadBackToThemselvesGiveNil)
{
    environment.setGlobal("Eu", qelMakeReference("Eu"));
    environment.setGlobal("A", qelMakeReference("B"));
    environment.setGlobal("B", qelMakeReference("A"));
    environment.setGlobal("Nome", "Nome");

    EXPECT_TRUE(qelLoadResource("Eu").isNil());
    EXPECT_TRUE(qelLoadResource("A").isNil());
    EXPECT_TRUE(qelResolve(qelMakeReference("B")).isNil());
    EXPECT_TRUE(qelLoadImageResource("Nome").isNil());
    EXPECT_TRUE(qelLoadSoundResource("Nome", 1).isNil());
    EXPECT_TRUE(errors.messages.empty());

    // With "ResourceFatal" the failure is reported, once, under the name asked for.
    environment.setSetting("ResourceFatal", "yes");
    EXPECT_TRUE(qelLoadImageResource("Nome").isNil());
    ASSERT_FALSE(errors.messages.empty());
    EXPECT_EQ(errors.messages.back(), "Cannot load resource: Nome");
}

TEST_F(Resources, AMissingResourceIsAnErrorOnlyWithResourceFatal)
{
    EXPECT_TRUE(qelLoadResource("ausente.frm").isNil());
    EXPECT_TRUE(errors.messages.empty());
    environment.setSetting("ResourceFatal", qelTrue);
    EXPECT_TRUE(qelLoadResource("ausente.frm").isNil());
    EXPECT_EQ(errors.messages, std::vector<std::string> { "Cannot load resource: ausente.frm" });
}

TEST_F(Resources, TheClassRegistryRefusesASecondPrototypeOfAName)
{
    // Without a control layer no class is registered; with one, each of its classes is.
    {
        qelAppEnvironment bare(qelNil);
        EXPECT_FALSE(qelTableOf(qelTableOf(bare.globals)->get("Classes")));
        EXPECT_EQ(qelMakeControlPrototype("Button"), nullptr);
    }
    installNamedControlClasses(std::make_index_sequence<std::size(qelFrameworkControlClasses)>());
    qelAppEnvironment application(qelNil);
    application.makeCurrent();
    qelTableObject* classes = qelTableOf(qelTableOf(application.globals)->get("Classes"));
    ASSERT_NE(classes, nullptr);
    EXPECT_EQ(classes->count, 21);
    for (const char* name : qelFrameworkControlClasses)
        EXPECT_STREQ(qelClassPrototype(name)->className(), name);
    EXPECT_TRUE(errors.messages.empty());

    application.registerClass(qelMakeControlPrototype("Button"));
    EXPECT_EQ(errors.messages, std::vector<std::string> { "Class already registered: Button" });
    EXPECT_EQ(classes->count, 21);
}

TEST_F(Resources, ResourceFormClassesReferTheirLocatedCompiledFile)
{
    writeEncoded(media() / "atlash.etn", tableOf("Class", "AtlasHForm"));
    qelRegisterResourceClassEx("AtlasHForm", "VLFormClass", "AtlasH");
    qelRegisterResourceClass("MainForm", "Main");

    qelEncodedFields ex;
    ASSERT_TRUE(qelFieldsOf(qelTableOf(environment.globals)->get("AtlasHForm"), ex));
    qelTableObject* data = qelTableOf(ex.values[0]);
    EXPECT_TRUE(data->get("Class") == "VLFormClass");
    EXPECT_TRUE(data->get("Name") == "AtlasHForm");
    EXPECT_TRUE(qelGet(data->get("Resource"), qelValue("Class")) == "AtlasHForm");

    qelEncodedFields plain;
    ASSERT_TRUE(qelFieldsOf(qelTableOf(environment.globals)->get("MainForm"), plain));
    EXPECT_TRUE(qelTableOf(plain.values[0])->get("Class") == "MainForm");
    EXPECT_TRUE(qelTableOf(plain.values[0])->get("Name").isNil());
}

TEST_F(Resources, CompiledTablesGoToTheMediaFolderWithoutResourcePath)
{
    writeText(media() / "Paises.tbl", "(table (\"Brasil\" 27))");
    qelLoadTableResource("Paises", "PAISES");
    ASSERT_TRUE(fs::exists(media() / "paises.etn"));
    EXPECT_TRUE(qelGet(qelLoadResource("paises.etn"), qelValue("Brasil")) == 27);

    fs::create_directories(root / "Compiled");
    environment.setSetting("ResourcePath", (root / "Compiled").string().c_str());
    qelLoadTableResource("Paises", "Outra");
    EXPECT_TRUE(fs::exists(root / "Compiled" / "outra.etn"));
}

namespace {

// A form that hands out its resource table and counts the releases.
class TableForm final : public qelObject, public qelFormEventProtocol {
public:
    void close() override { }
    void activate() override { }
    void deactivate() override { }
    void mouseMove(int32_t, int32_t, int32_t) override { }
    void mouseDown(int32_t, int32_t, int32_t, int32_t) override { }
    void mouseDrag(int32_t, int32_t, int32_t) override { }
    void mouseUp(int32_t, int32_t, int32_t) override { }
    void key(int32_t, int32_t) override { }
    void keyUp(int32_t, int32_t) override { }
    void tick() override { }
    void idle() override { }
    void mediaNotify(const qelValue&, const qelValue&) override { }
    void notify(int32_t) override { }
    void globalToLocal(int32_t&, int32_t&) override { }
    qelValue loadResourceTable() override { return tableOf("Class", "AtlasForm"); }
    void releaseResourceTable() override { ++releases; }

    int releases = 0;
};

} // namespace

TEST_F(Resources, AFormsResourceTableIsCompiledAndReleasedAndANonFormWritesNothing)
{
    auto* form = new TableForm;
    environment.setGlobal("Atlas", qelMakeObjectValue(QEL_FORM_TYPE, form));
    qelLoadEtnResource("Atlas", "ATLASFRM");
    ASSERT_TRUE(fs::exists(media() / "atlasfrm.etn"));
    EXPECT_TRUE(qelGet(qelLoadResource("atlasfrm.etn"), qelValue("Class")) == "AtlasForm");
    EXPECT_EQ(form->releases, 1);

    environment.setGlobal("Numero", 7);
    qelLoadEtnResource("Numero", "numero");
    qelLoadEtnResource("Nenhum", "nenhum");
    EXPECT_FALSE(fs::exists(media() / "numero.etn"));
    EXPECT_FALSE(fs::exists(media() / "nenhum.etn"));
}

TEST_F(Resources, MoviesOpenFromTheMediaFolderWithTheirLowerCaseExtension)
{
    static std::vector<std::string> opened;
    opened.clear();
    qelServices().movieFromFile = [](const qelValue& path, const qelValue& extension, int32_t fullScreen) {
        opened.push_back(std::string(qelCString(path)) + "|" + qelCString(extension) + "|" + std::to_string(fullScreen));
        return qelValue(1);
    };
    EXPECT_TRUE(qelLoadMovieResource("Filme.Avi", 1) == 1);
    EXPECT_TRUE(qelLoadMovieResource(qelValue {}, 0).isNil());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], root.string() + "\\Media\\Filme.Avi|avi|1");
}
