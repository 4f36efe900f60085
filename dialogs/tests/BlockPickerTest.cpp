#include "BlockPicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "BlockFile.h"
#include "Cp932.h"
#include "TestBlocks.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using Names = std::vector<std::string>;

/** A b x h outline of kind A型 whose other figures fill every column of the list. */
BlockData Block(std::string name, double b, double h)
{
    return test::BlockBuilder().named(std::move(name), "A型").size(b, h, 1.5, 12.345).centroid(-0.5, 1).rectangle(b, h);
}

void Put(const test::TempFolder& folder, const std::string& file, const BlockData& record)
{
    WriteBlockFile(record, (folder.path() / file).string());
}

TEST(BlockPicker, ColumnsCountCp932BytesAndNeverCut)
{
    EXPECT_EQ(EncodeCp932(kPickerHeading).size(), 87u);
    const std::string tenWide = "ａｂｃｄｅｆｇｈｉｊ", tooLong = "abcdefghijklmnopqrstuvwxy";
    // clang-format off
    const struct {
        const char* what;
        std::string actual;
        std::string expected;
    } cases[] = {
        {"half-width kana: one cp932 byte each, three in UTF-8", PadText("ｱｲ", 4), "ｱｲ  "},
        {"full-width letters: two columns each", PadText(tenWide, 21), tenWide + " "},
        {"text longer than its column is not cut", PadText(tooLong, 20), tooLong},
        {"a negative number", PadNumber(-0.25, 7), " -0.250"},
        {"rounded to zero", PadNumber(0.0004, 7), "  0.000"},
        {"a number longer than its column is not cut", PadNumber(12345678.9, 7), "12345678.900"},
        {"a line with a short name", BlockListLine(Block("堤体", 4, 2)),
         "堤体                 A型                4.000   2.000   1.500    12.345  -0.500   1.000"},
        {"a line with a name that fills its column", BlockListLine(Block(tenWide, 4, 2)),
         tenWide + " A型                4.000   2.000   1.500    12.345  -0.500   1.000"},
        {"a line whose name and H overflow their columns", BlockListLine(Block(tooLong, -4, -1234.5)),
         tooLong + " A型               -4.000 -1234.500   1.500    12.345  -0.500   1.000"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(BlockPicker, ListsBlockFilesAsAWindowsUserOrdersThemWhateverTheExtensionsCase)
{
    test::TempFolder folder;
    const BlockData a = Block("a", 1, 1), b = Block("b", 2, 2), c = Block("c", 3, 3);
    Put(folder, "b.CSV", b);
    Put(folder, "a.csv", a);
    Put(folder, "C.Csv", c);
    Put(folder, "d.txt", a);
    Put(folder, "e.csvx", a);
    Put(folder, "fcsv", a);
    Put(folder, ".csv", a);  // no base name to open it by
    folder.write("bad.csv", "not a block file\r\n");
    folder.write("short.csv", "#直立消波ブロック002\r\n");
    std::filesystem::create_directory(folder.path() / "sub.csv");

    Put(folder, "A-10.csv", a);
    Put(folder, "A-2.csv", b);

    BlockData scratch;
    const BlockFileList list = FillFileList(folder.dataPath(), scratch);
    EXPECT_EQ(list.FileNames, (Names{"a", "A-2", "A-10", "b", "C"}));
    EXPECT_EQ(list.Files, (Names{"a.csv", "A-2.csv", "A-10.csv", "b.CSV", "C.Csv"}));
    EXPECT_EQ(list.Lines,
              (Names{BlockListLine(a), BlockListLine(b), BlockListLine(a), BlockListLine(b), BlockListLine(c)}));
}

TEST(BlockPicker, TwoFilesThatDifferInTheExtensionsCaseAreEachOpenedAsListed)
{
    test::TempFolder folder;
    if (!folder.caseSensitive())
        GTEST_SKIP() << "here \"same.csv\" and \"same.CSV\" are one file";
    const BlockData lower = Block("lower", 1, 1), upper = Block("upper", 2, 2);
    Put(folder, "same.csv", lower);
    Put(folder, "same.CSV", upper);
    DocumentState state;
    state.DataPath = folder.dataPath();
    BlockPicker picker(state);
    picker.Load();
    ASSERT_EQ(picker.FileNames(), (Names{"same", "same"}));
    ASSERT_EQ(picker.Files(), (Names{"same.CSV", "same.csv"}));
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(picker.ListClick(row));
        EXPECT_EQ(picker.ShownData(), row == 0 ? upper : lower) << row;
        ASSERT_TRUE(picker.Select());
        EXPECT_EQ(picker.BlkNm(), "same");
        EXPECT_EQ(picker.FileName(), picker.Files()[static_cast<std::size_t>(row)]);
    }
}

TEST(BlockPicker, ANameInShiftJisIsShownAsJapaneseAndKeptAsOnDisk)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps every file name in Unicode";
#endif
    test::TempFolder folder;
    const std::string onDisk = "\x8C\xEC\x8A\xDD";  // 護岸 in cp932
    Put(folder, onDisk + ".csv", Block("x", 1, 1));
    DocumentState state;
    state.DataPath = folder.dataPath();
    BlockPicker picker(state);
    picker.Load();
    ASSERT_EQ(picker.FileNames(), Names{onDisk});
    EXPECT_EQ(picker.Label3(), "護岸");
    ASSERT_TRUE(picker.Select());
    EXPECT_EQ(picker.BlkNm(), onDisk);
    EXPECT_EQ(picker.FileName(), onDisk + ".csv");
}

TEST(BlockPicker, ColumnsStayInLineWhateverTheNameHolds)
{
    // Bytes that did not decode, control and private-use characters take one column, as "?".
    // clang-format off
    const struct {
        const char* what;
        std::string name;
        std::string shown;
    } names[] = {
        {"the replacement character", "A\xEF\xBF\xBD" "B", "A?B"},
        {"U+0080, which cp932 reads from 0x80", "\xC2\x80" "x", "?x"},
        {"U+F8F0 and U+F8F3, read from 0xA0 and 0xFF", "\xEF\xA3\xB0\xEF\xA3\xB3", "??"},
        {"a tab", "a\tb", "a?b"},
        {"half-width katakana are one column each", "ｹｰｿﾝ", "ｹｰｿﾝ"},
    };
    // clang-format on
    for (const auto& c : names) {
        BlockData record = Block(c.name, 1, 1), plain = Block(c.shown, 1, 1);
        record.Kind = c.name;
        plain.Kind = c.shown;
        EXPECT_EQ(BlockListLine(record), BlockListLine(plain)) << c.what;
    }
}

TEST(BlockPicker, FolderThatCannotBeListedGivesNoLines)
{
    test::TempFolder folder, locked;
    Put(folder, "a.csv", Block("a", 1, 1));
    Put(locked, "a.csv", Block("a", 1, 1));
    std::filesystem::permissions(locked.path(), std::filesystem::perms::none);
    std::error_code error;
    std::filesystem::directory_iterator probe(locked.path(), error);
    std::vector<std::pair<const char*, std::string>> paths{
        {"a missing folder", folder.dataPath() + "missing/"},
        {"a file taken for a folder", folder.dataPath() + "a.csv/"},
        {"no path at all", ""},
    };
    if (error)  // permissions bind this user (not root)
        paths.push_back({"a folder that may not be read", locked.dataPath()});
    for (const auto& [what, path] : paths) {
        BlockData scratch;
        EXPECT_TRUE(FillFileList(path, scratch).FileNames.empty()) << what;
    }
}

class PickerTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    test::TempFolder empty;
    DocumentState state;
    BlockPicker picker{state};
    BlockData a = Block("a", 1, 1), b = Block("b", 2, 2);

    void SetUp() override
    {
        Put(folder, "a.csv", a);
        Put(folder, "b.csv", b);
        state.DataPath = folder.dataPath();
    }
};

TEST_F(PickerTest, LoadShowsTheFirstLineAndSelectChoosesTheClickedOne)
{
    picker.Load();
    EXPECT_EQ(picker.FileNames(), (Names{"a", "b"}));
    EXPECT_EQ(std::tuple(picker.SelectedIndex(), picker.Label3(), picker.ShownData()), std::tuple(0, "a", a));
    EXPECT_TRUE(picker.ListClick(1));
    EXPECT_EQ(std::tuple(picker.SelectedIndex(), picker.Label3(), picker.ShownData()), std::tuple(1, "b", b));
    EXPECT_EQ(picker.BlkNm(), "");
    EXPECT_TRUE(picker.Select());
    EXPECT_EQ(picker.BlkNm(), "b");
}

TEST_F(PickerTest, FailedClickKeepsThePreview)
{
    picker.Load();
    std::filesystem::remove(folder.path() / "b.csv");
    const struct {
        const char* what;
        int index;
    } clicks[] = {{"above the first line", -1}, {"below the last line", 2}, {"a file deleted since it was listed", 1}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(picker.ListClick(c.index));
        EXPECT_EQ(picker.Label3(), "a");
        EXPECT_EQ(picker.ShownData(), a);
    }
    EXPECT_EQ(picker.SelectedIndex(), 1);  // the line itself was clicked
}

TEST_F(PickerTest, TheStatusNamesBlockFilesLeftOutAndWhyButNotOtherCsvFiles)
{
    folder.write("sheet.csv", "x,y\r\n1,2\r\n");
    std::string longName = FormatBlockFile(Block("c", 3, 3));
    longName.replace(longName.find("\r\nc\r\n"), 5, "\r\n" + std::string(kMaxNameBytes + 1, 'n') + "\r\n");
    folder.write("long.csv", longName);
    // What follows a comma on the name line is no part of the name, however long.
    std::string notes = FormatBlockFile(Block("c", 3, 3));
    notes.replace(notes.find("\r\nc\r\n"), 5, "\r\nc," + std::string(2000, 'x') + "\r\n");
    folder.write("notes.csv", notes);
#ifndef _WIN32
    // A backslash is a character of a file name here, and such a block is listed like any other.
    Put(folder, "x\\y.csv", b);
#endif
    picker.Load();
#ifndef _WIN32
    EXPECT_EQ(picker.FileNames(), (Names{"a", "b", "notes", "x\\y"}));
    ASSERT_TRUE(picker.ListClick(3));
    EXPECT_EQ(picker.ShownData(), b);
#else
    EXPECT_EQ(picker.FileNames(), (Names{"a", "b", "notes"}));
#endif
    EXPECT_EQ(picker.Problems(), Names{"long.csv: 名称が長すぎます (1000 バイトまで)。"});
    EXPECT_EQ(picker.Status(), "long.csv: 名称が長すぎます (1000 バイトまで)。");

    // A listed file gone since: the click says so, the next good one brings the folder's status back.
    std::filesystem::remove(folder.path() / "b.csv");
    EXPECT_FALSE(picker.ListClick(1));
    EXPECT_EQ(picker.Status(), "b.csv: ファイルが見つかりません。");
    EXPECT_TRUE(picker.ListClick(0));
    EXPECT_EQ(picker.Status(), "long.csv: 名称が長すぎます (1000 バイトまで)。");

    folder.write("long2.csv", longName);
    picker.Load();
    EXPECT_EQ(picker.Status(), "long.csv: 名称が長すぎます (1000 バイトまで)。（ほかに 1 件）");
}

TEST_F(PickerTest, DirChangeMovesDataPathForGoodAndAnEmptyFolderShowsNothing)
{
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    const std::string bare = folder.path().string();
    for (const std::string& path : {bare, bare + sep}) {
        picker.DirChange(path);
        EXPECT_EQ(state.DataPath, bare + sep);
        EXPECT_EQ(picker.Label3(), "a");
    }
    picker.DirChange(empty.path().string());
    EXPECT_TRUE(picker.Lines().empty());
    EXPECT_EQ(std::tuple(picker.SelectedIndex(), picker.Label3(), picker.ShownData()), std::tuple(-1, "", BlockData{}));
    EXPECT_FALSE(picker.Select());  // the dialog stays open
    picker.Cancel();
    EXPECT_EQ(state.DataPath, empty.path().string() + sep);
    EXPECT_EQ(picker.BlkNm(), "");
}

}  // namespace
}  // namespace chokusho
