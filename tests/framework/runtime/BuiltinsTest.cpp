#include "framework/runtime/Builtins.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/IndexProtocol.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

std::string shown(const qelValue& value)
{
    return qelCString(qelValueToString(value));
}

std::string shown(int32_t n)
{
    return std::to_string(n);
}

// An index that keys its entries by the display text of the key, as the record-backed index does.
class FakeIndex : public qelObject, public qelIndexProtocol {
public:
    int32_t count() override { return int32_t(entries.size()); }
    qelValue get(const qelValue& key) override
    {
        auto found = entries.find(shown(key));
        return found == entries.end() ? qelNil : found->second;
    }
    void put(const qelValue& key, const qelValue& value) override { entries[shown(key)] = value; }
    int32_t containsKey(const qelValue& key) override { return entries.count(shown(key)) ? 1 : 0; }

    std::map<std::string, qelValue> entries;
};

// A control whose properties live in a table.
class FakeControl : public qelObject, public qelPropertyProtocol {
public:
    qelValue propertyAt(int32_t slot) override { return qelGet(properties, slot); }
    qelValue getProperty(const qelValue& key) override { return qelGet(properties, key); }
    void setProperty(const qelValue& key, const qelValue& value) override { qelPut(properties, key, value); }
    void removeProperty(const qelValue& key) override { qelRemoveKey(properties, key); }
    int32_t hasProperty(const qelValue& key) override { return qelContainsKey(properties, key); }

    qelValue properties = qelTable(4, 100, 75);
};

// Sounds and movies that log what they are asked.
class FakeMedia : public qelObject, public qelMediaProtocol {
public:
    int32_t play(const qelValue& self, int32_t from, int32_t to, int32_t repeat) override
    {
        log.push_back("play " + std::to_string(from) + " " + std::to_string(to) + " " + std::to_string(repeat)
            + (self.object() == this ? " self" : " other"));
        playing = 1;
        return 1;
    }
    int32_t stop() override
    {
        log.push_back("stop");
        playing = 0;
        return 1;
    }
    int32_t isPlaying() override { return playing; }
    int32_t length() override { return 1234; }
    int32_t show() override { return record("show"); }
    int32_t hide() override { return record("hide"); }
    int32_t move(int32_t x, int32_t y) override
    {
        return record("move " + std::to_string(x) + " " + std::to_string(y));
    }
    int32_t resize(int32_t w, int32_t h) override
    {
        return record("resize " + std::to_string(w) + " " + std::to_string(h));
    }

    std::vector<std::string> log;
    int32_t playing = 0;

private:
    int32_t record(const std::string& entry)
    {
        log.push_back(entry);
        return 1;
    }
};

class FakeArchive : public qelObject, public qelArchiveProtocol {
public:
    int32_t count() override { return qelCount(items); }
    qelValue get(int32_t index) override { return qelGet(items, index); }
    void put(int32_t index, const qelValue& value) override { qelPut(items, index, value); }
    void add(const qelValue& value) override { qelAddItem(items, value); }

    qelValue items = qelMakeList(4, 100, QEL_GENERAL_LIST);
};

class FakeReference : public qelObject, public qelReferenceProtocol {
public:
    qelValue resolve() override
    {
        ++resolutions;
        return target;
    }
    qelValue target;
    int resolutions = 0;
};

class FakeRegion : public qelObject, public qelRegionProtocol {
public:
    qelValue copy() const override { return qelMakeObjectValue(QEL_REGION_TYPE, new FakeRegion); }
};

template<typename T> qelValue hold(int32_t type, T*& object)
{
    object = new T;
    return qelMakeObjectValue(type, object);
}

} // namespace

// Every builtin, given a first argument of a type it does not take, names itself by its signature
// string and gives its neutral result.
TEST(Builtins, WrongArgumentTypesNameTheSignature)
{
    qelValue seven = qelMakeInt(7);
    qelValue unique = qelMakeUnique();
    FakeMedia* soundObject;
    qelValue sound = hold(QEL_SOUND_TYPE, soundObject);
    char chars[8];
    struct Case {
        const char* signature;
        std::function<std::string()> call;
        const char* result;
    };
    const Case cases[] = {
        { "qelCount(collection)", [&] { return shown(qelCount(seven)); }, "0" },
        { "qelIndexOf(s,hnd [,QELINT])", [&] { return shown(qelIndexOf(seven, 7, 0)); }, "0" },
        { "qelFirstIndex(collection)", [&] { return shown(qelFirstIndex(seven)); }, "0" },
        { "qelNextIndex(collection,QELINT)", [&] { return shown(qelNextIndex(seven, 0)); }, "0" },
        { "qelCapacity(collection)", [&] { return shown(qelCapacity(seven)); }, "0" },
        { "qelLeft(stringOrList,QELINT,QELINT)", [&] { return shown(qelLeft(seven, 1)); }, "QEL_NIL" },
        { "qelRight(stringOrList,QELINT,QELINT)", [&] { return shown(qelRight(seven, 1)); }, "QEL_NIL" },
        { "qelMid(stringOrList,QELINT,QELINT)", [&] { return shown(qelMid(seven, 0, 1)); }, "QEL_NIL" },
        { "qelIntValue(numberOrString)", [&] { return shown(qelIntValue(qelNil)); }, "0" },
        { "qelFloatValue(numberOrString)", [&] { return std::to_string(qelFloatValue(unique)); }, "0.000000" },
        { "qelBool(stringOrBoolOrInt)", [&] { return shown(qelBool(qelListOf({}))); }, "0" },
        { "qelGet(collection,QELINT)", [&] { return shown(qelGet(seven, 0)); }, "QEL_NIL" },
        { "qelGet(tableOrCtrlOrForm,hnd)", [&] { return shown(qelGet(seven, "key")); }, "QEL_NIL" },
        { "qelPut(lst,n,obj)",
            [&] {
                qelPut(seven, 0, 1);
                return std::string();
            },
            "" },
        { "qelPut(tblOrCtrlOrFrm,obj,obj)",
            [&] {
                qelPut(seven, "key", 1);
                return std::string();
            },
            "" },
        { "qelGetKey(tblOrCtrlOrFrm,QELINT)", [&] { return shown(qelGetKey(qelListOf({ 1 }), 0)); }, "QEL_NIL" },
        { "qelRemoveKey(tblOrCtrlOrFrm,obj)",
            [&] {
                qelRemoveKey(seven, 1);
                return std::string();
            },
            "" },
        { "qelContainsKey(tblOrCtrlOrFrm,obj)", [&] { return shown(qelContainsKey(seven, 1)); }, "0" },
        { "qelAddItem(lstOrArchive,obj [,QELINT])",
            [&] {
                qelAddItem(qelTable(2, 100, 75), 1);
                return std::string();
            },
            "" },
        { "qelGetChars(stringOrBuf,QELCHAR QELPTR,QELINT)", [&] { return shown(qelGetChars(seven, chars, 8)); }, "0" },
        { "qelTokenize(stringOrBuffer,string)", [&] { return shown(qelTokenize(seven, ",")); }, "(list )" },
        { "qelCopy( LstTblStr )", [&] { return shown(qelCopy(unique)); }, "QEL_NIL" },
        { "qelAdd(listOrString,listOrString)", [&] { return shown(qelAdd(qelListOf({}), seven)); }, "QEL_NIL" },
        { "qelPlay(movOrSnd [,QELINT,QELINT,QELBOOL])", [&] { return shown(qelPlay(seven)); }, "0" },
        { "qelStop(movOrSnd)", [&] { return shown(qelStop(seven)); }, "0" },
        { "qelIsPlaying(movOrSnd)", [&] { return shown(qelIsPlaying(qelNil)); }, "0" },
        { "qelShow(movie)", [&] { return shown(qelShow(sound)); }, "0" },
        { "qelHide(mov)", [&] { return shown(qelHide(sound)); }, "0" },
        { "qelMove(mov)", [&] { return shown(qelMove(seven, 1, 2)); }, "0" },
        { "qelSetSize(mov)", [&] { return shown(qelSetSize(seven, 1, 2)); }, "0" },
        { "operator[](sequence,QELINT)", [&] { return shown(seven[0]); }, "QEL_NIL" },
        { "qelSortLists(lstOfLst,QELINT,QELORDER)", [&] { return shown(qelSortLists(seven, 0, 0)); }, "QEL_NIL" },
    };
    for (const Case& c : cases) {
        ErrorRecorder errors;
        EXPECT_EQ(c.call(), c.result) << c.signature;
        EXPECT_EQ(errors.messages,
            std::vector<std::string> { std::string("Bad type for argument 1 of ") + c.signature + "." });
    }
    EXPECT_TRUE(soundObject->log.empty());
}

TEST(Builtins, IndexOfASearchableStringOnly)
{
    ErrorRecorder errors;
    EXPECT_EQ(qelIndexOf("banana", "na", 3), 4);
    EXPECT_EQ(qelIndexOf("banana", 'b', 1), -1);
    EXPECT_EQ(qelIndexOf("banana", qelListOf({}), 0), -1);
    EXPECT_EQ(errors.messages,
        std::vector<std::string> { "qelIndexOf(s,hnd,QELINT): Cannot search for an object of type 8\n" });
    EXPECT_EQ(qelIndexOf(qelListOf({ 1, "na", 1 }), 1, 1), 2);
}

TEST(Builtins, LaterLayersAnswerThroughTheirInterfaces)
{
    FakeIndex* index;
    qelValue indexValue = hold(QEL_INDEX_TYPE, index);
    qelPut(indexValue, qelMakeInt(3), "three");
    EXPECT_EQ(qelCount(indexValue), 1);
    EXPECT_EQ(shown(qelGet(indexValue, "3")), "three") << "the fake keys by display text";
    EXPECT_EQ(qelContainsKey(indexValue, qelMakeInt(3)), 1);
    EXPECT_EQ(qelContainsKey(indexValue, qelMakeInt(4)), 0);
    EXPECT_TRUE(qelGet(indexValue, qelMakeInt(4)).isNil());

    FakeControl* control;
    qelValue controlValue = hold(QEL_CONTROL_TYPE, control);
    qelPut(controlValue, "Name", "ok");
    EXPECT_EQ(qelContainsKey(controlValue, "Name"), 1);
    EXPECT_EQ(shown(qelGet(controlValue, "Name")), "ok");
    EXPECT_EQ(shown(qelGet(controlValue, qelFirstIndex(control->properties))), "ok");
    qelRemoveKey(controlValue, "Name");
    EXPECT_EQ(qelContainsKey(controlValue, "Name"), 0);

    FakeArchive* archive;
    qelValue archiveValue = hold(QEL_ARCHIVE_TYPE, archive);
    qelAddItem(archiveValue, "a", 2);
    qelPut(archiveValue, 1, "b");
    EXPECT_EQ(qelCount(archiveValue), 2);
    EXPECT_EQ(shown(qelGet(archiveValue, 1)), "b");

    FakeMedia* movie;
    qelValue movieValue = hold(QEL_MOVIE_TYPE, movie);
    EXPECT_EQ(qelCount(movieValue), 1234);
    qelPlay(movieValue, 10, 20, 1);
    EXPECT_EQ(qelIsPlaying(movieValue), 1);
    qelMove(movieValue, 3, 4);
    qelSetSize(movieValue, 5, 6);
    qelShow(movieValue);
    qelHide(movieValue);
    qelStop(movieValue);
    EXPECT_EQ(movie->log,
        (std::vector<std::string> { "play 10 20 1 self", "move 3 4", "resize 5 6", "show", "hide", "stop" }));
    FakeMedia* sound;
    qelValue soundValue = hold(QEL_SOUND_TYPE, sound);
    qelPlay(soundValue);
    EXPECT_EQ(sound->log, std::vector<std::string> { "play 0 -1 0 self" });

    FakeRegion* region;
    qelValue regionValue = hold(QEL_REGION_TYPE, region);
    qelValue regionCopy = qelCopy(regionValue);
    EXPECT_EQ(regionCopy.type(), QEL_REGION_TYPE);
    EXPECT_NE(regionCopy.object(), regionValue.object());
}

TEST(Builtins, ReferencesResolveBeforeTheTypeIsExamined)
{
    FakeReference* reference;
    qelValue referenceValue = hold(QEL_REFERENCE_TYPE, reference);
    reference->target = qelTable(4, 100, 75);
    qelPut(referenceValue, "k", 5);
    EXPECT_EQ(qelGetInt(reference->target, "k"), 5);
    EXPECT_EQ(qelContainsKey(referenceValue, "k"), 1);
    EXPECT_EQ(shown(qelGetKey(referenceValue, qelFirstIndex(reference->target))), "k");

    FakeMedia* movie;
    reference->target = hold(QEL_MOVIE_TYPE, movie);
    qelPlay(referenceValue);
    EXPECT_EQ(movie->log, std::vector<std::string> { "play 0 -1 0 self" }) << "the movie gets its own value";

    ErrorRecorder errors;
    // A reference that names itself is followed a few times and then ends as nil.
    reference->target = referenceValue;
    reference->resolutions = 0;
    EXPECT_TRUE(qelGet(referenceValue, "k").isNil());
    EXPECT_LE(reference->resolutions, 16);
    EXPECT_EQ(
        errors.messages, std::vector<std::string> { "Bad type for argument 1 of qelGet(tableOrCtrlOrForm,hnd)." });
    reference->target = qelNil;
}

// Objects of the later layers' types that lack their interface give the neutral result quietly.
TEST(Builtins, ObjectsWithoutTheirInterfaceGiveNeutralResults)
{
    ErrorRecorder errors;
    for (int32_t type : { QEL_CONTROL_TYPE, QEL_FORM_TYPE, QEL_INDEX_TYPE, QEL_REFERENCE_TYPE }) {
        qelValue bare = qelMakeObjectValue(type, new qelObject);
        qelPut(bare, "k", 1);
        EXPECT_TRUE(qelGet(bare, "k").isNil());
        EXPECT_EQ(qelContainsKey(bare, "k"), 0);
    }
    qelValue bareArchive = qelMakeObjectValue(QEL_ARCHIVE_TYPE, new qelObject);
    qelAddItem(bareArchive, 1);
    EXPECT_EQ(qelCount(bareArchive), 0);
    EXPECT_TRUE(qelGet(bareArchive, 0).isNil());
    qelValue bareMovie = qelMakeObjectValue(QEL_MOVIE_TYPE, new qelObject);
    EXPECT_EQ(qelPlay(bareMovie), 0);
    EXPECT_EQ(qelCount(bareMovie), 0);
    EXPECT_TRUE(qelCopy(qelMakeObjectValue(QEL_REGION_TYPE, new qelObject)).isNil());
    EXPECT_EQ(errors.messages, std::vector<std::string> {});
}

TEST(Builtins, TokenizeKeepsEmptyTokens)
{
    struct Case {
        const char* source;
        const char* delimiters;
        const char* tokens;
    };
    const Case cases[] = {
        { "", ",", "(list \"\")" },
        { "a,,b", ",", "(list \"a\"\n      \"\"\n      \"b\")" },
        { "a,", ",", "(list \"a\"\n      \"\")" },
        { "one two;three", " ;", "(list \"one\"\n      \"two\"\n      \"three\")" },
        { "x", "", "(list \"x\")" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(qelCString(qelPrintValue(qelTokenize(c.source, c.delimiters), 1))), c.tokens) << c.source;

    // A buffer is read up to its used length or its first NUL.
    qelValue buffer = qelBufferFromMemory(const_cast<char*>("p|q\0r|s"), 7, 1);
    EXPECT_EQ(shown(qelTokenize(buffer, "|")), "(list p q)");
    qelSetBufferLength(buffer, 1);
    EXPECT_EQ(shown(qelTokenize(buffer, "|")), "(list p)");

    ErrorRecorder errors;
    std::string delimiters(256, ',');
    qelValue tokens = qelTokenize("a,b", delimiters.c_str());
    EXPECT_EQ(errors.messages, std::vector<std::string> { "qelTokenize: Delimiter set too large: " + delimiters });
    EXPECT_EQ(shown(tokens), "(list a,b)");
}

TEST(Builtins, SlicesCountNegativeLengthsFromTheEnd)
{
    struct Case {
        std::function<qelValue()> call;
        const char* result;
    };
    qelValue abcde = qelStringValue("abcde");
    qelValue list = qelListOf({ 1, 2, 3, 4, 5 });
    const Case cases[] = {
        { [&] { return qelLeft(abcde, -2); }, "abc" },
        { [&] { return qelLeft(abcde, -9); }, "" },
        { [&] { return qelLeft(abcde, 9); }, "abcde" },
        { [&] { return qelRight(qelStringValue("abc"), 5); }, "" },
        { [&] { return qelRight(abcde, -2); }, "cde" },
        { [&] { return qelMid(abcde, 9, 1); }, "" },
        { [&] { return qelMid(abcde, 3, 9); }, "de" },
        { [&] { return qelLeft(list, -2); }, "(list 1 2 3)" },
        { [&] { return qelLeft(list, -9); }, "(list)" },
        { [&] { return qelRight(list, 5); }, "(list)" },
        { [&] { return qelRight(list, 4); }, "(list 2 3 4 5)" },
        { [&] { return qelMid(list, 1, 2); }, "(list 2 3)" },
        { [&] { return qelMid(list, -1, 2); }, "(list)" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown(c.call()), c.result);
}

TEST(Builtins, ConversionsAndTruth)
{
    EXPECT_EQ(qelIntValue(qelMakeFloat(-2.9f)), -2);
    EXPECT_EQ(qelIntValue(qelMakeFloat(1e20f)), 2147483647);
    EXPECT_EQ(qelIntValue(" 42abc"), 42);
    EXPECT_EQ(qelIntValue(qelTrue), 1);
    EXPECT_DOUBLE_EQ(qelFloatValue("2.5x"), 2.5);
    EXPECT_DOUBLE_EQ(qelFloatValue(qelMakeInt(-3)), -3.0);
    EXPECT_EQ(shown(qelBool("12")), "12");
    EXPECT_EQ(qelBool(qelMakeFloat(3.7f)).type(), QEL_INT_TYPE);

    struct Case {
        qelValue value;
        bool truth;
    };
    const Case cases[] = {
        { qelNil, false },
        { qelMakeUnique(), true },
        { qelFalse, false },
        { qelMakeInt(-1), true },
        { qelMakeInt(0), false },
        { qelMakeFloat(1.0f), false },
        { "Yes", true },
        { "true", true },
        { "no", false },
        { "", false },
        { qelListOf({}), true },
        { qelTable(1, 0, 0), true },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qelIsTrue(c.value), c.truth) << shown(c.value);

    char small[4];
    EXPECT_EQ(qelGetChars("abc", small, 4), 1);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(qelGetChars("abcd", small, 4), 0) << "a string is copied only whole";
}

TEST(Builtins, AddJoinsDisplayTexts)
{
    EXPECT_EQ(shown(qelAdd(qelMakeInt(3), "abc")), "3abc");
    EXPECT_EQ(shown(qelValue("x") + qelListOf({ 1 })), "x(list 1)");
    EXPECT_EQ(shown(qelValue("n=") + 5), "n=5");
    EXPECT_EQ(shown("pre" + qelMakeFloat(1.5f)), "pre1.5");
}

TEST(Builtins, CopyIsDeep)
{
    qelValue buffer = qelBufferFromValue("bytes");
    qelValue inner = qelListOf({ "s", buffer });
    qelValue image = qelMakeObjectValue(QEL_IMAGE_TYPE, new qelObject);
    qelValue list = qelListOf({ inner, image, qelMakeFloat(0.5f) });
    qelValue copy = qelCopy(list);

    qelValue innerCopy = qelGet(copy, 0);
    EXPECT_NE(innerCopy.object(), inner.object());
    EXPECT_NE(qelGet(innerCopy, 0).object(), qelGet(inner, 0).object());
    EXPECT_NE(qelGet(innerCopy, 1).object(), buffer.object());
    EXPECT_EQ(shown(innerCopy), shown(inner));
    EXPECT_EQ(qelGet(copy, 1).object(), image.object()) << "images are shared";
    EXPECT_EQ(qelCapacity(copy), qelCapacity(list));

    qelValue oddBoolean = qelMakeValue(QEL_BOOLEAN_TYPE, 5);
    EXPECT_EQ(qelCopy(oddBoolean).payload(), 1);
    qelValue ints = qelMakeList(2, 100, QEL_INT_LIST);
    qelAddItem(ints, qelMakeInt(4), 3);
    qelAddItem(ints, qelMakeInt(5), 0);
    EXPECT_EQ(shown(qelCopy(ints)), "(intlist 4 4 4)");
}

TEST(Builtins, SubscriptReachesCellsInPlace)
{
    qelValue list = qelListOf({ 1, 2 });
    list[1] = "two";
    EXPECT_EQ(shown(list), "(list 1 two)");
    qelValue table = qelTable(4, 100, 75);
    qelPut(table, qelMakeInt(0), "zero");
    EXPECT_EQ(shown(table[0]), "zero");

    ErrorRecorder errors;
    qelValue ints = qelMakeList(2, 100, QEL_INT_LIST);
    qelAddItem(ints, qelMakeInt(9));
    EXPECT_TRUE(ints[0].isNil());
    EXPECT_TRUE(list[2].isNil());
    qelValue& spare = table[-1];
    spare = "scribbled";
    EXPECT_TRUE(qelMakeInt(3)[0].isNil()) << "what a caller wrote through the error cell is gone";
    EXPECT_EQ(errors.messages,
        (std::vector<std::string> { "Cannot directly reference elements in this list: (intlist 9)",
            "index out of range: 2", "index out of range: -1",
            "Bad type for argument 1 of operator[](sequence,QELINT)." }));
}

TEST(Builtins, IterationOverListsAndTables)
{
    EXPECT_EQ(qelFirstIndex(qelListOf({})), 0);
    EXPECT_EQ(qelNextIndex(qelListOf({ 1 }), 0), -1);
    EXPECT_EQ(qelNextIndex(qelListOf({ 1, 2 }), 0), 1);
    qelValue empty = qelTable(3, 100, 75);
    EXPECT_EQ(qelFirstIndex(empty), -1);
    EXPECT_EQ(qelCount(empty), 0);
    EXPECT_EQ(qelCount("abc"), 3);
}
