#include "BlockPicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "BlockFile.h"
#include "Cp932.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using Names = std::vector<std::string>;

BlockData Block(std::string name, double b, double h)
{
    BlockData r;
    r.Name = std::move(name);
    r.Kind = "A型";
    r.B = b, r.H = h, r.L = 1.5, r.V = 12.345, r.Gx = -0.5, r.Gy = 1;
    r.PointCount = 2;
    r.PointX[2] = b, r.PointY[2] = h;
    r.LineCount = 1;
    r.LineStart[1] = 1, r.LineEnd[1] = 2;
    return r;
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
    const std::pair<std::string, std::string> cases[] = {
        {PadText("ｱｲ", 4), "ｱｲ  "},  // half-width kana: one cp932 byte each, three in UTF-8
        {PadText(tenWide, 21), tenWide + " "},
        {PadText(tooLong, 20), tooLong},
        {PadNumber(-0.25, 7), " -0.250"},
        {PadNumber(0.0004, 7), "  0.000"},
        {PadNumber(12345678.9, 7), "12345678.900"},
        {BlockListLine(Block("堤体", 4, 2)),
         "堤体                 A型                4.000   2.000   1.500    12.345  -0.500   1.000"},
        {BlockListLine(Block(tenWide, 4, 2)),
         tenWide + " A型                4.000   2.000   1.500    12.345  -0.500   1.000"},
        {BlockListLine(Block(tooLong, -4, -1234.5)),
         tooLong + " A型               -4.000 -1234.500   1.500    12.345  -0.500   1.000"},
    };
    // clang-format on
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(actual, expected);
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
    const std::pair<std::string, std::string> names[] = {
        {"A\xEF\xBF\xBD" "B", "A?B"},          // U+FFFD
        {"\xC2\x80" "x", "?x"},               // U+0080, which cp932 reads from 0x80
        {"\xEF\xA3\xB0\xEF\xA3\xB3", "??"},  // U+F8F0, U+F8F3, read from 0xA0 and 0xFF
        {"a\tb", "a?b"},
        {"ｹｰｿﾝ", "ｹｰｿﾝ"},                      // half-width katakana are one column each
    };
    // clang-format on
    for (const auto& [name, shown] : names) {
        BlockData record = Block(name, 1, 1), plain = Block(shown, 1, 1);
        record.Kind = name;
        plain.Kind = shown;
        EXPECT_EQ(BlockListLine(record), BlockListLine(plain)) << shown;
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
    std::vector<std::string> paths{folder.dataPath() + "missing/", folder.dataPath() + "a.csv/", ""};
    if (error)  // permissions bind this user (not root)
        paths.push_back(locked.dataPath());
    for (const std::string& path : paths) {
        BlockData scratch;
        EXPECT_TRUE(FillFileList(path, scratch).FileNames.empty()) << path;
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
    for (int index : {-1, 2, 1}) {
        EXPECT_FALSE(picker.ListClick(index)) << index;
        EXPECT_EQ(picker.Label3(), "a");
        EXPECT_EQ(picker.ShownData(), a);
    }
    EXPECT_EQ(picker.SelectedIndex(), 1);  // the line itself was clicked
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
