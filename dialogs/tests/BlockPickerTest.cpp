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
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(actual, expected);
}

TEST(BlockPicker, ListsBlockFilesInNameOrderIgnoringExtensionCase)
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

    BlockData scratch;
    const BlockFileList list = FillFileList(folder.dataPath(), scratch);
    EXPECT_EQ(list.FileNames, (Names{"C", "a", "b"}));
    EXPECT_EQ(list.Lines, (Names{BlockListLine(c), BlockListLine(a), BlockListLine(b)}));
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
