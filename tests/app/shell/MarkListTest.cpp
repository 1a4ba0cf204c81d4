// The user's mark list in MARKLIST.DTT: its bytes, marks kept across restarts, and a damaged or
// unwritable file never ending the program or losing stored marks.

#include "app/shell/MarkList.h"

#include "../../framework/runtime/ErrorRecorder.h"
#include "ShellDisk.h"
#include "platform/sys/File.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

// MARKLIST.DTT with no marks: the magic, the directory offset, an empty int list, and the
// directory (an int list of one offset, 8).
const Bytes noMarks = { 0x30, 0x51, 0x45, 0x4C, 0x0E, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x03, 0x08, 0x01,
    0x00, 0x00, 0x00, 0x03, 0x08, 0x00, 0x00, 0x00 };

class Marks : public ShellDisk {
protected:
    void TearDown() override
    {
        releaseMarkList();
        ShellDisk::TearDown();
    }

    // The program ends and starts again: only the file remains.
    void restart() { releaseMarkList(); }

    fs::path markFile() const { return user / "MARKLIST.DTT"; }
    fs::path asideFile() const { return user / "MARKLIST.BAD"; }
};

} // namespace

TEST_F(Marks, TheFirstCountCreatesAFileWithNoMarks)
{
    ErrorRecorder errors;
    EXPECT_EQ(countMarks(), 0);
    EXPECT_TRUE(getMarkList().isNil());
    EXPECT_EQ(fileBytes(markFile()), noMarks);
    EXPECT_EQ(qelCString(markListPath()), (user.string() + "\\MARKLIST.DTT"));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(Marks, ThreeMarksAreStoredAsOneIntListItem)
{
    addMark(5);
    addMark(300);
    addMark(70000);
    const Bytes expected = { 0x30, 0x51, 0x45, 0x4C, 0x1A, 0x00, 0x00, 0x00, // magic, directory at 26
        0x08, 0x03, 0x00, 0x00, 0x00, 0x03, // int list of three
        0x05, 0x00, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x70, 0x11, 0x01, 0x00, // 5, 300, 70000
        0x08, 0x01, 0x00, 0x00, 0x00, 0x03, 0x08, 0x00, 0x00, 0x00 }; // directory: item 0 at 8
    EXPECT_EQ(fileBytes(markFile()), expected);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 1);
}

TEST_F(Marks, MarksAreAddedRemovedAndCountedAcrossRestarts)
{
    EXPECT_EQ(countMarks(), 0);
    addMark(7);
    addMark(9);
    qelValue list = addMark(7);
    EXPECT_EQ(intsOf(list), (std::vector<int32_t> { 7, 9, 7 }));

    restart();
    EXPECT_EQ(countMarks(), 3);
    EXPECT_EQ(intsOf(getMarkList()), (std::vector<int32_t> { 7, 9, 7 }));
    // Removing a mark removes every copy of it.
    EXPECT_EQ(intsOf(removeMark(7)), std::vector<int32_t> { 9 });

    restart();
    EXPECT_EQ(countMarks(), 1);
    // Removing the last mark stores an empty list and keeps none in memory.
    EXPECT_TRUE(removeMark(9).isNil());
    EXPECT_EQ(fileBytes(markFile()), noMarks);
    EXPECT_EQ(countMarks(), 0);

    // With no marks in memory the file is read again at each ask.
    {
        qelValue archive = qelCreateArchive(pathValue(markFile()), 100);
        qelArchiveOf(archive)->add(intList({ 12 }));
    }
    EXPECT_EQ(intsOf(getMarkList()), std::vector<int32_t> { 12 });
}

TEST_F(Marks, AMarkAddedBeforeAnyCountKeepsTheStoredMarks)
{
    addMark(1);
    addMark(2);
    restart();
    EXPECT_EQ(intsOf(addMark(3)), (std::vector<int32_t> { 1, 2, 3 }));
    restart();
    // Removing with none stored writes nothing and answers no marks.
    fs::remove(markFile());
    EXPECT_TRUE(removeMark(3).isNil());
    EXPECT_EQ(fileBytes(markFile()), noMarks);
}

TEST_F(Marks, ADamagedFileIsSetAsideAndReplacedByOneWithNoMarks)
{
    addMark(5);
    addMark(300);
    addMark(70000);
    restart();
    const Bytes threeMarks = fileBytes(markFile());

    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes wrongMagic = threeMarks;
    wrongMagic[0] = 'X';
    Bytes directoryCut = threeMarks;
    directoryCut.resize(threeMarks.size() - 4);
    Bytes zeroItems = { 0x30, 0x51, 0x45, 0x4C, 0x08, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x03 };
    // The one item a string "ab", or a general list holding the int 5.
    Bytes stringItem = { 0x30, 0x51, 0x45, 0x4C, 0x0C, 0x00, 0x00, 0x00, 0x22, 0x02, 'a', 'b', 0x08, 0x01, 0x00, 0x00,
        0x00, 0x03, 0x08, 0x00, 0x00, 0x00 };
    Bytes generalList = { 0x30, 0x51, 0x45, 0x4C, 0x0C, 0x00, 0x00, 0x00, 0x23, 0x01, 0x20, 0x05, 0x08, 0x01, 0x00,
        0x00, 0x00, 0x03, 0x08, 0x00, 0x00, 0x00 };
    // An item whose list runs past the directory.
    Bytes itemCut = threeMarks;
    itemCut[9] = 0x30;
    const Case cases[] = {
        { "truncated", Bytes(threeMarks.begin(), threeMarks.begin() + 20) },
        { "wrong magic", wrongMagic },
        { "directory cut short", directoryCut },
        { "empty file", {} },
        { "no items", zeroItems },
        { "item not a list", stringItem },
        { "item not an int list", generalList },
        { "item longer than the file", itemCut },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        fs::remove(asideFile());
        writeBytes(markFile(), c.bytes);
        ErrorRecorder errors;
        EXPECT_EQ(countMarks(), 0);
        EXPECT_TRUE(errors.messages.empty());
        EXPECT_TRUE(errors.fatalCodes.empty());
        EXPECT_EQ(fileBytes(asideFile()), c.bytes);
        EXPECT_EQ(fileBytes(markFile()), noMarks);
        // The program goes on: a new mark is stored in the new file.
        addMark(4);
        restart();
        EXPECT_EQ(intsOf(getMarkList()), std::vector<int32_t> { 4 });
    }
}

TEST_F(Marks, AFailedWriteKeepsTheStoredMarksAndTheProgramGoesOn)
{
    addMark(5);
    const Bytes stored = fileBytes(markFile());
    // A folder in the way of the temporary file makes the write fail.
    fs::create_directory(user / "MARKLIST.DTT.tmp");
    ErrorRecorder errors;
    EXPECT_EQ(intsOf(addMark(6)), (std::vector<int32_t> { 5, 6 }));
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(fileBytes(markFile()), stored);

    // Once the folder is gone the next change writes the whole list.
    fs::remove(user / "MARKLIST.DTT.tmp");
    addMark(7);
    restart();
    EXPECT_EQ(intsOf(getMarkList()), (std::vector<int32_t> { 5, 6, 7 }));
}

TEST_F(Marks, AFileHeldByAnotherOpenerIsLeftAsItIs)
{
    addMark(5);
    addMark(6);
    restart();
    const Bytes stored = fileBytes(markFile());
    {
        platform::FileOpenOptions exclusive;
        exclusive.access = platform::FileAccess::ReadWrite;
        exclusive.share = platform::FileShare::None;
        platform::File holder = platform::File::open(markFile().string(), exclusive);
        ASSERT_TRUE(holder.isOpen());
        ErrorRecorder errors;
        EXPECT_EQ(countMarks(), 0);
        EXPECT_TRUE(errors.messages.empty());
        EXPECT_FALSE(fs::exists(asideFile()));
    }
    EXPECT_EQ(fileBytes(markFile()), stored);
    EXPECT_EQ(countMarks(), 2);
}
