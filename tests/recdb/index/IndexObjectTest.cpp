#include "recdb/index/IndexObject.h"

#include "../../framework/runtime/ErrorRecorder.h"
#include "../RecDbTestSupport.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"

using namespace recdbtest;

namespace {

qelValue filledBuffer(int32_t size)
{
    qelValue buffer = qelBuffer(size);
    qelSetBufferLength(buffer, size);
    return buffer;
}

std::string printed(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 1));
}

qelValue text(const std::string& s)
{
    return qelStringValueN(s.data(), int32_t(s.size()));
}

qelValue notation(const char* source)
{
    return qelDecodeText(qelStringValue(source));
}

std::vector<std::string> printedList(const qelValue& list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(list); ++i)
        out.push_back(printed(qelGet(list, i)));
    return out;
}

} // namespace

TEST(IndexObject, ItemsSurviveCloseAndReopenAndKeysAreTheirDisplayText)
{
    ScratchDir dir;
    qelValue name = qelStringValue(dir.path("items.idx").c_str());
    {
        qelValue index = qelCreateIndex(name);
        ASSERT_NE(qelIndexObjectOf(index), nullptr);
        EXPECT_EQ(qelCount(index), 1); // the count item
        qelPut(index, qelStringValue("S\xe3o Paulo"), notation("(table (\"Capital\" \"Bras\xedlia\") (\"Pop\" 12))"));
        qelPut(index, qelMakeInt(42), notation("(list 1 2.5 \"x\")"));
        qelPut(index, qelStringValue("empty"), qelNil);
        // Rewriting an item keeps the count.
        qelPut(index, qelStringValue("42"), qelStringValue("forty-two"));
        EXPECT_EQ(qelCount(index), 4);
    }
    ErrorRecorder errors;
    qelValue index = qelOpenIndex(name, 0, 0);
    EXPECT_EQ(qelCount(index), 4);
    EXPECT_EQ(printed(qelGet(index, qelMakeInt(42))), "\"forty-two\"");
    EXPECT_EQ(printed(qelGet(index, qelStringValue("S\xe3o Paulo"))),
        printed(notation("(table (\"Capital\" \"Bras\xedlia\") (\"Pop\" 12))")));
    EXPECT_TRUE(qelContainsKey(index, qelStringValue("empty")));
    EXPECT_TRUE(qelGet(index, qelStringValue("empty")).isNil());
    EXPECT_FALSE(qelContainsKey(index, qelStringValue("absent")));
    EXPECT_TRUE(qelGet(index, qelStringValue("absent")).isNil());
    EXPECT_EQ(printed(qelGet(index, qelStringValue("__QEL_INDEX_COUNT__"))), "4");
    EXPECT_TRUE(errors.messages.empty());
}

TEST(IndexObject, LongKeysAreCutTo239CharactersAbove240)
{
    ScratchDir dir;
    qelValue index = qelCreateIndex(qelStringValue(dir.path("long.idx").c_str()));
    std::string k240(240, 'a');
    std::string k241a = std::string(239, 'b') + "X" + "1";
    std::string k241b = std::string(239, 'b') + "Y" + "2";
    qelPut(index, text(k240), qelMakeInt(1));
    qelPut(index, text(k241a), qelMakeInt(2));
    qelPut(index, text(k241b), qelMakeInt(3)); // the same item as k241a
    EXPECT_EQ(qelCount(index), 3);
    EXPECT_EQ(printed(qelGet(index, text(k240))), "1");
    EXPECT_FALSE(qelContainsKey(index, text(k240.substr(0, 239))));
    EXPECT_EQ(printed(qelGet(index, text(k241a))), "3");
    EXPECT_EQ(printed(qelGet(index, text(std::string(239, 'b')))), "3");
    auto* object = qelIndexObjectOf(index);
    EXPECT_EQ(printedList(object->keysWithPrefix(qelStringValue("b"), nullptr)),
        std::vector<std::string> { printed(text(std::string(239, 'b'))) });
}

TEST(IndexObject, PrefixScansFollowKeyOrderAndIncludeTheCountItem)
{
    ScratchDir dir;
    qelValue index = qelCreateIndex(qelStringValue(dir.path("scan.idx").c_str()));
    for (const char* key : { "abd", "b", "abc", "ab", "A", "\xe9t\xe9" })
        qelPut(index, qelStringValue(key), qelAdd(qelStringValue("v-"), qelStringValue(key)));
    auto* object = qelIndexObjectOf(index);
    using V = std::vector<std::string>;
    // Found exactly, and found as a following key.
    EXPECT_EQ(printedList(object->valuesWithPrefix(qelStringValue("ab"), nullptr)),
        (V { "\"v-ab\"", "\"v-abc\"", "\"v-abd\"" }));
    EXPECT_EQ(
        printedList(object->keysWithPrefix(qelStringValue("a"), nullptr)), (V { "\"ab\"", "\"abc\"", "\"abd\"" }));
    EXPECT_TRUE(object->valuesWithPrefix(qelStringValue("abe"), nullptr).isNil());
    EXPECT_TRUE(object->keysWithPrefix(qelStringValue("zz"), nullptr).isNil());
    // Case-sensitive byte order: "A" and "_" sort before the small letters, cp1252 letters after.
    EXPECT_EQ(printedList(object->keysWithPrefix(qelStringValue(""), nullptr)),
        (V { "\"A\"", "\"__QEL_INDEX_COUNT__\"", "\"ab\"", "\"abc\"", "\"abd\"", "\"b\"", "\"\\xe9t\\xe9\"" }));
    // The count item holds what was last written back: 0 until the index is closed.
    EXPECT_EQ(printedList(object->valuesWithPrefix(qelStringValue("_"), nullptr)), (V { "0" }));
    qelValue one = object->valuesWithPrefix(qelStringValue(""), [] { return int32_t(1); });
    EXPECT_EQ(qelCount(one), 1);
    EXPECT_EQ(printedList(qelIndexValuesWithPrefix(index, qelStringValue("b"), nullptr)), (V { "\"v-b\"" }));
    EXPECT_TRUE(qelIndexValuesWithPrefix(qelMakeInt(3), qelStringValue("b"), nullptr).isNil());
}

TEST(IndexObject, WritesToAReadOnlyIndexAreRefusedAndLeaveTheFile)
{
    ScratchDir dir;
    std::string path = dir.path("ro.idx");
    qelValue name = qelStringValue(path.c_str());
    {
        qelValue index = qelCreateIndex(name);
        qelPut(index, qelStringValue("k"), qelMakeInt(1));
    }
    Bytes before = readFile(path);
    {
        ErrorRecorder errors;
        qelValue index = qelOpenIndex(name, 0, 0);
        qelPut(index, qelStringValue("k"), qelMakeInt(2));
        qelPut(index, qelStringValue("new"), qelMakeInt(3));
        EXPECT_EQ(errors.messages,
            (std::vector<std::string> { "Cannot put objects into a read-only index", "Cannot put item into index",
                "Cannot put objects into a read-only index", "Cannot put item into index" }));
        EXPECT_EQ(qelCount(index), 2);
        EXPECT_EQ(printed(qelGet(index, qelStringValue("k"))), "1");
    }
    EXPECT_EQ(readFile(path), before);
}

TEST(IndexObject, AValueTooLongForTheRecordBufferIsRefusedNotCut)
{
    ScratchDir dir;
    qelValue name = qelStringValue(dir.path("big.idx").c_str());
    ErrorRecorder errors;
    {
        qelValue index = qelCreateIndex(name);
        qelValue fits = filledBuffer(29000);
        qelValue tooLong = filledBuffer(30000); // five bytes of type and length make it 30005
        qelPut(index, qelStringValue("fits"), fits);
        EXPECT_TRUE(errors.messages.empty());
        qelPut(index, qelStringValue("long"), tooLong);
        EXPECT_EQ(errors.messages, std::vector<std::string> { "Cannot put item into index" });
        // Too long for the library's 128 pieces under a long key, though it fits the buffer.
        qelPut(index, text(std::string(200, 'k')), filledBuffer(10000));
        EXPECT_EQ(errors.messages.size(), 2u);
        EXPECT_EQ(qelCount(index), 2);
    }
    qelValue index = qelOpenIndex(name, 0, 0);
    EXPECT_EQ(qelCount(index), 2);
    EXPECT_EQ(qelCount(qelGet(index, qelStringValue("fits"))), 29000);
    EXPECT_FALSE(qelContainsKey(index, qelStringValue("long")));
    EXPECT_FALSE(qelContainsKey(index, text(std::string(200, 'k'))));
}

TEST(IndexObject, AFileWithoutItsCountItemOpensWithCountZero)
{
    ScratchDir dir;
    std::string path = dir.path("nocount.idx");
    rdbHandle h;
    ASSERT_EQ(rdbCreate(&h, path.c_str(), 'E', 1, nullptr), 0);
    const uint8_t encodedSeven[] = { 0x20, 7 };
    ASSERT_EQ(rdbAdd(&h, 1, "seven", 1, encodedSeven, 2), 0);
    ASSERT_EQ(rdbAdd(&h, 1, "nothing", 2, nullptr, 0), 0);
    ASSERT_EQ(rdbClose(&h), 0);
    ErrorRecorder errors;
    {
        qelValue index = qelOpenIndex(qelStringValue(path.c_str()), 1, 1);
        EXPECT_EQ(qelCount(index), 0);
        EXPECT_EQ(printed(qelGet(index, qelStringValue("seven"))), "7");
        // An item stored with empty data is present and reads as nil.
        EXPECT_TRUE(qelContainsKey(index, qelStringValue("nothing")));
        EXPECT_TRUE(qelGet(index, qelStringValue("nothing")).isNil());
    }
    EXPECT_TRUE(errors.messages.empty());
    // Closing the writable index added the count item, which counts itself.
    qelValue index = qelOpenIndex(qelStringValue(path.c_str()), 0, 0);
    EXPECT_EQ(qelCount(index), 1);
}

TEST(IndexObject, OpenFailuresReportAndLeaveAnEmptyIndex)
{
    ScratchDir dir;
    ErrorRecorder errors;
    qelValue missing = qelStringValue(dir.path("missing.idx").c_str());
    qelValue index = qelOpenIndex(missing, 0, 0);
    qelValue writable = qelOpenIndex(missing, 1, 0);
    EXPECT_EQ(errors.messages, (std::vector<std::string> { "Cannot open index", "Cannot open index for writing" }));
    auto* object = qelIndexObjectOf(index);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(qelCount(index), 0);
    EXPECT_FALSE(qelContainsKey(index, qelStringValue("x")));
    EXPECT_TRUE(qelGet(index, qelStringValue("x")).isNil());
    EXPECT_TRUE(object->valuesWithPrefix(qelStringValue(""), nullptr).isNil());

    // The file is held exclusively: a second opener fails, and creating over it too.
    errors.messages.clear();
    qelValue name = qelStringValue(dir.path("held.idx").c_str());
    qelValue first = qelCreateIndex(name);
    qelValue second = qelOpenIndex(name, 0, 0);
    qelValue third = qelCreateIndex(name);
    EXPECT_EQ(errors.messages, (std::vector<std::string> { "Cannot open index", "Cannot create index" }));
    EXPECT_EQ(qelCount(first), 1);
}
