#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "BlockFile.h"
#include "Cp932.h"
#include "TestBlocks.h"
#include "TestFiles.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace chokusho {
namespace {

using test::FullRecord;
using test::Sound;
using test::TempFolder;

/** A version 2 file with one layer, three points and two segments, as the program writes it. */
const std::string kExample =
    EncodeCp932("#直立消波ブロック002") +
    "\r\nSAMPLE-1\r\nTYPE-A\r\n2.000,1.500,3.000,9.000,1.000,0.750\r\n1\r\n1.500,9.000,9.000\r\n3\r\n"
    "0.000,0.000\r\n2.000,0.000\r\n2.000,1.500\r\n2\r\n1,2,0\r\n2,3,1\r\n0\r\n1.000\r\n";

BlockData ExampleRecord()
{
    return test::BlockBuilder()
        .named("SAMPLE-1", "TYPE-A")
        .size(2, 1.5, 3, 9)
        .centroid(1, 0.75)
        .layer(1.5, 9, 1)
        .points({{0, 0}, {2, 0}, {2, 1.5}})
        .segments({{1, 2}, {2, 3, kDottedLine}});
}

/** Reads `content` as the block file "b.csv" of a fresh folder. */
bool ReadContent(const std::string& content, BlockData& record)
{
    TempFolder folder;
    folder.write("b.csv", content);
    return ReadBlockFile(record, folder.dataPath(), "b").ok();
}

/** The content's lines (each with its CR LF). */
std::vector<std::string> Lines(const std::string& content)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = content.find("\r\n", start);
        lines.push_back(content.substr(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines)
        out += line;
    return out;
}

TEST(BlockFile, WritesTheVersion2LayoutByteForByte)
{
    EXPECT_EQ(FormatBlockFile(ExampleRecord()), kExample);

    const std::string empty = EncodeCp932("#直立消波ブロック002") +
                              "\r\n\r\n\r\n0.000,0.000,0.000,0.000,0.000,0.000\r\n0\r\n0\r\n0\r\n0\r\n";
    EXPECT_EQ(FormatBlockFile(BlockData{}), empty);
}

TEST(BlockFile, ReadsEachVersionsLayout)
{
    BlockData record;
    ASSERT_TRUE(ReadContent(kExample, record));
    EXPECT_EQ(record, ExampleRecord());

    // Version 1: segments have two fields, the trailing centroid part is present.
    auto v1 = Lines(kExample);
    v1[0] = EncodeCp932("#直立消波ブロック001") + "\r\n";
    v1[11] = "1,2\r\n";
    v1[12] = "2,3\r\n";
    ASSERT_TRUE(ReadContent(Join(v1), record));
    BlockData expected = ExampleRecord();
    expected.LineKind[2] = 0;
    EXPECT_EQ(record, expected);

    // Version 0: no trailing part, so GxMode and LayerGx stay 0.
    auto v0 = v1;
    v0[0] = EncodeCp932("#直立消波ブロック") + "\r\n";
    v0.resize(13);
    ASSERT_TRUE(ReadContent(Join(v0), record));
    expected.LayerGx[0] = 0;
    EXPECT_EQ(record, expected);

    // A version 2 segment line read as version 1: the kind lands in the end's part and is not used.
    auto v1WithKinds = Lines(kExample);
    v1WithKinds[0] = EncodeCp932("#直立消波ブロック001") + "\r\n";
    ASSERT_TRUE(ReadContent(Join(v1WithKinds), record));
    EXPECT_EQ(record.LineStart[2], 2);
    EXPECT_EQ(record.LineEnd[2], 3);
    EXPECT_EQ(record.LineKind[2], 0);
}

TEST(BlockFile, ReadsValuesLeniently)
{
    struct Case {
        const char* what;
        int line;
        const char* text;
        bool ok;
    };
    // clang-format off
    const Case cases[] = {
        {"blanks, tabs and line feeds inside numbers", 3, " 2 . 5\t,1\n.5,3,9,1,0.75", true},
        {"letters after a number", 3, "2.5m,1.5,3,9,1,0.75", true},
        {"extra fields land in the last part", 3, "2.5,1.5,3,9,1,0.75,99,abc", true},
        {"too few fields", 3, "2.5,1.5,3,9,1", false},
        {"a real that overflows", 3, "1e999,1.5,3,9,1,0.75", false},
        {"a count with letters reads 0", 4, "abc", false},  // no layer rows, then a layer row is no count
        {"an empty count line", 4, "", false},
        {"a count rounded half to even", 4, "0.5", false},  // 0 rows; the layer row then is no count
        {"a count rounded half to even, up", 4, "1.5", false},  // 2 rows: the point count is read as a row
        {"an integer above 32767", 11, "1,2,40000", false},
        {"an integer below -32768", 11, "1,2,-32769", false},
        {"a kind halfway rounds to even", 11, "1,2,2.5", true},
        {"a segment line with too few fields", 11, "1,2", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        auto lines = Lines(kExample);
        lines[static_cast<std::size_t>(c.line)] = std::string(c.text) + "\r\n";
        BlockData record;
        EXPECT_EQ(ReadContent(Join(lines), record), c.ok) << c.what;
    }

    auto lines = Lines(kExample);
    lines[3] = " 2 . 5\t,1\n.5,3,9,1,0.75,99\r\n";
    lines[11] = "1,2,2.5\r\n";
    BlockData record;
    ASSERT_TRUE(ReadContent(Join(lines), record));
    EXPECT_EQ(record.B, 2.5);
    EXPECT_EQ(record.H, 1.5);
    EXPECT_EQ(record.Gy, 0.75);
    EXPECT_EQ(record.LineKind[1], 2);

    // Counts that read as letters or below zero read no rows and leave an empty table.
    const std::string noTables = EncodeCp932("#直立消波ブロック002") +
                                 "\r\nN\r\nK\r\n1,2,3,4,5,6\r\nabc\r\n-3\r\n0.4\r\n-1\r\n";
    ASSERT_TRUE(ReadContent(noTables, record));
    EXPECT_EQ(record.LayerCount, 0);
    EXPECT_EQ(record.PointCount, 0);
    EXPECT_EQ(record.LineCount, 0);
    EXPECT_EQ(record.GxMode, -1);
    EXPECT_TRUE(Sound(record));
}

TEST(BlockFile, NameLinesKeepTheTextBeforeTheirFirstComma)
{
    auto lines = Lines(kExample);
    lines[1] = "FIRST,SECOND\r\n";
    lines[2] = "\r\n";
    BlockData record;
    ASSERT_TRUE(ReadContent(Join(lines), record));
    EXPECT_EQ(record.Name, "FIRST");
    EXPECT_EQ(record.Kind, "");

    // Bytes that are not cp932 decode to replacement characters rather than failing the read.
    lines[1] =
        "A\x85\x80"
        "B\r\n";
    ASSERT_TRUE(ReadContent(Join(lines), record));
    EXPECT_EQ(record.Name,
              "A\xEF\xBF\xBD"
              "B");
}

/** `text` repeated `times` times. */
std::string Repeat(const std::string& text, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(BlockFile, NamesAndKindsOfMoreThanTheLimitAreRefusedAsTooLong)
{
    static_assert(kMaxNameBytes == 1000);
    const std::string fullWidth = EncodeCp932("Ａ");  // two bytes
    const std::string halfWidth = EncodeCp932("ｱ");   // one byte, three in UTF-8
    const struct {
        const char* what;
        std::string line;
        bool ok;
    } cases[] = {
        {"1000 ASCII bytes", std::string(1000, 'N'), true},
        {"1001 ASCII bytes", std::string(1001, 'N'), false},
        {"500 full-width characters", Repeat(fullWidth, 500), true},
        {"501 full-width characters", Repeat(fullWidth, 501), false},
        {"999 bytes and a full-width character", std::string(999, 'N') + fullWidth, false},
        {"1000 half-width katakana, 3000 bytes of UTF-8", Repeat(halfWidth, 1000), true},
        {"500 unassigned pairs", Repeat("\x85\x80", 500), true},
        {"a short name before a comma in a line of 1001 bytes", "N," + std::string(999, 'x'), true},
        {"a short name before 2000 bytes of notes", EncodeCp932("北側,") + std::string(2000, 'x'), true},
        {"a name of 1000 bytes before a comma", std::string(1000, 'N') + ",notes", true},
        {"a name of 1001 bytes before a comma", std::string(1001, 'N') + ",notes", false},
        {"a lone line feed is part of the name", std::string(1000, 'N') + "\n", false},
    };
    for (const auto& c : cases) {
        for (const std::size_t line : {1u, 2u}) {
            SCOPED_TRACE(std::string(c.what) + (line == 1 ? ", name" : ", kind"));
            auto lines = Lines(kExample);
            lines[line] = c.line + "\r\n";
            BlockData record;
            const BlockReadResult read = ParseBlockFile(record, Join(lines));
            ASSERT_EQ(read.ok(), c.ok);
            if (c.ok) {
                const std::string text = DecodeCp932(c.line.substr(0, c.line.find(',')));
                EXPECT_EQ(line == 1 ? record.Name : record.Kind, text);
                EXPECT_EQ(record.PointCount, 3);
            } else {
                EXPECT_EQ(read.failure, line == 1 ? BlockReadFailure::NameTooLong : BlockReadFailure::KindTooLong);
                EXPECT_EQ(BlockReadFailureText(read),
                          std::string(line == 1 ? "名称" : "種別") + "が長すぎます (1000 バイトまで)。");
            }
        }
    }
}

TEST(BlockFile, NamesOfTheLongestLengthAreWrittenSoThatTheyReadBack)
{
    const struct {
        const char* what;
        std::string name;
        std::string kind;
    } cases[] = {
        {"full-width", Repeat("直", 500), Repeat("Ａ", 500)},
        {"ASCII and half-width", std::string(1000, 'N'), Repeat("ｱ", 1000)},
        {"lone bytes", Repeat("\uF8F3", 1000), Repeat("\u0080", 1000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BlockData record = ExampleRecord();
        record.Name = c.name;
        record.Kind = c.kind;
        ASSERT_EQ(Cp932Width(c.name), kMaxNameBytes);
        ASSERT_EQ(Cp932Width(c.kind), kMaxNameBytes);
        BlockData read;
        ASSERT_TRUE(ReadContent(FormatBlockFile(record), read));
        EXPECT_EQ(read, record);
    }
}

TEST(BlockFile, RoundTripsAFullRecord)
{
    TempFolder folder;
    const BlockData full = FullRecord();
    WriteBlockFile(full, folder.dataPath() + "full.csv");
    BlockData read;
    ASSERT_TRUE(ReadBlockFile(read, folder.dataPath(), "full"));
    EXPECT_EQ(read, full);
    EXPECT_TRUE(Sound(read));

    // Reals are kept to three decimals, names up to their first comma.
    BlockData rounded = full;
    rounded.Name = "名前,その後";
    rounded.B = 2.3456;
    rounded.PointX[5] = -0.0004;
    WriteBlockFile(rounded, folder.dataPath() + "rounded.csv");
    ASSERT_TRUE(ReadBlockFile(read, folder.dataPath(), "rounded"));
    EXPECT_EQ(read.Name, "名前");
    EXPECT_EQ(read.B, 2.346);
    EXPECT_EQ(read.PointX[5], 0.0);
}

TEST(BlockFile, EveryFiniteValueIsWrittenSoThatItReadsBack)
{
    BlockData record = ExampleRecord();
    record.B = std::numeric_limits<double>::max();
    record.H = -1.7976931348623155e308;
    BlockData read;
    ASSERT_TRUE(ReadContent(FormatBlockFile(record), read));
    EXPECT_GT(read.B, 1.7e308);
    EXPECT_LT(read.H, -1.7e308);
}

TEST(BlockFile, WritesNamesTheFormatCanHold)
{
    BlockData record;
    record.Name = "上段\r\n下段\n";
    record.Kind = "Ａ型 é 😀 ソ表能";
    const std::string content = FormatBlockFile(record);
    EXPECT_NE(content.find(EncodeCp932("上段  下段 ") + "\r\n"), std::string::npos);

    BlockData read;
    ASSERT_TRUE(ReadContent(content, read));
    EXPECT_EQ(read.Name, "上段  下段 ");
    EXPECT_EQ(read.Kind, "Ａ型 ? ? ソ表能");
}

TEST(BlockFile, FindsTheFileWithoutRegardToLetterCase)
{
    const struct {
        const char* what;
        const char* fileName;
    } spellings[] = {{"lower case", "a.csv"}, {"upper case", "A.CSV"}, {"the extension mixed", "a.Csv"}};
    for (const auto& c : spellings) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        folder.write(c.fileName, kExample);
        BlockData record;
        EXPECT_TRUE(ReadBlockFile(record, folder.dataPath(), "a"));
        EXPECT_TRUE(ReadBlockFile(record, folder.dataPath(), "A"));
        EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "b"));
    }

    // The exact name wins over one that matches only ignoring case, where the two are two files.
    TempFolder folder;
    BlockData record;
    if (folder.caseSensitive()) {
        folder.write("X.CSV", kExample);
        folder.write("x.csv", "not a block file");
        EXPECT_TRUE(ReadBlockFile(record, folder.dataPath(), "X"));
    }

    // Names with full-width text and cp932 characters whose second byte is a backslash.
    folder.write("ソ表能ブロック.csv", kExample);
    EXPECT_TRUE(ReadBlockFile(record, folder.dataPath(), "ソ表能ブロック"));
}

TEST(BlockFile, RejectsWhatIsNotACompleteBlockFile)
{
    TempFolder folder;
    BlockData record;
    EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "missing"));
    folder.write("empty.csv", "");
    EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "empty"));
    std::filesystem::create_directory(folder.path() / "dir.csv");
    EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "dir"));
    std::filesystem::create_directory(folder.path() / "sub");
    folder.write("sub/inner.csv", kExample);
    EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "sub/inner"));
    EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "sub\\inner"));
    folder.write("junk.csv", std::string(5 << 20, '\xA5') + "\r\n1,2,3\r\n");
    EXPECT_FALSE(ReadBlockFile(record, folder.dataPath(), "junk"));

    auto wrongHeader = Lines(kExample);
    wrongHeader[0] = EncodeCp932("#直立消波ブロツク002") + "\r\n";
    EXPECT_FALSE(ReadContent(Join(wrongHeader), record));
    EXPECT_FALSE(ReadContent("SAMPLE\r\n" + kExample, record));

    // A line missing at any position fails, also the trailing centroid lines.
    const auto lines = Lines(kExample);
    for (std::size_t missing = 0; missing < lines.size(); ++missing) {
        if (missing == 10)
            continue;  // without the segment count, the first segment line reads as a count of 1
        auto shortened = lines;
        shortened.erase(shortened.begin() + static_cast<std::ptrdiff_t>(missing));
        EXPECT_FALSE(ReadContent(Join(shortened), record)) << "without line " << missing + 1;
    }
}

TEST(BlockFile, AFileThatCannotBeReadSaysWhyAndIsNotCalledDamaged)
{
    TempFolder folder;
    folder.write("text.csv", "a,b,c\r\n");
    std::filesystem::create_directory(folder.path() / "dir.csv");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((folder.path() / "pipe.csv").c_str(), 0644), 0);
#endif
    const struct {
        const char* name;
        BlockReadFailure failure;
        const char* text;
    } cases[] = {
        {"missing", BlockReadFailure::CannotRead, "ファイルが見つかりません。"},
        {"dir", BlockReadFailure::CannotRead, "フォルダーです。"},
#ifndef _WIN32
        // Refused without waiting for a writer.
        {"pipe", BlockReadFailure::CannotRead, "通常のファイルではありません。"},
#endif
        {"text", BlockReadFailure::NotBlockFile, "直立消波ブロックのデータ形式ではありません。"},
    };
    for (const auto& c : cases) {
        BlockData record;
        const BlockReadResult read = ReadBlockFile(record, folder.dataPath(), c.name);
        EXPECT_EQ(read.failure, c.failure) << c.name;
        EXPECT_EQ(BlockReadFailureText(read), c.text) << c.name;
        EXPECT_EQ(ReadBlockFileNamed(record, folder.dataPath(), std::string(c.name) + ".csv").failure, c.failure)
            << c.name;
    }
#ifndef _WIN32
    BlockData record;
    EXPECT_EQ(BlockReadFailureText(ReadBlockFileNamed(record, "/dev/", "null")), "通常のファイルではありません。");

    // Permissions do not bind the superuser, so the read is tried as an ordinary user.
    const std::string locked = folder.write("locked.csv", kExample);
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0)
                std::_Exit(3);
            BlockData inChild;
            const BlockReadResult read = ReadBlockFile(inChild, folder.dataPath(), "locked");
            std::_Exit(BlockReadFailureText(read) == "読み取る権限がありません。" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
#endif
}

#ifndef _WIN32
TEST(BlockFile, ABackslashIsACharacterOfANameWhereItSeparatesNoFolders)
{
    TempFolder folder;
    folder.write("a\\b.csv", kExample);
    BlockData record;
    EXPECT_TRUE(ReadBlockFile(record, folder.dataPath(), "a\\b"));
    EXPECT_EQ(record, ExampleRecord());
    EXPECT_TRUE(ReadBlockFileNamed(record, folder.dataPath(), "a\\b.csv"));
    EXPECT_EQ(record, ExampleRecord());
}
#endif

TEST(BlockFile, ANameOrKindWithCharactersCp932LacksIsNotWritten)
{
    TempFolder folder;
    const std::string target = folder.write("old.csv", kExample);
    const struct {
        std::string name;
        std::string kind;
        std::string reason;
    } cases[] = {
        {"𠮷野家", "", "名称に保存できない文字「𠮷」があります。"},
        {"北側", "A㎥D", "種別に保存できない文字「㎥」があります。"},
    };
    for (const auto& c : cases) {
        BlockData record = ExampleRecord();
        record.Name = c.name;
        record.Kind = c.kind;
        EXPECT_EQ(test::SaveFailure([&] { WriteBlockFile(record, target); }), c.reason);
        EXPECT_EQ(folder.read("old.csv"), kExample);
    }
    // Characters written as their cp932 counterparts are kept, as they read back alike.
    BlockData record = ExampleRecord();
    record.Name = "波〜形−1";
    WriteBlockFile(record, target);
    BlockData read;
    ASSERT_TRUE(ReadBlockFile(read, folder.dataPath(), "old"));
    EXPECT_EQ(read.Name, "波～形－1");
}

TEST(BlockFile, RejectsTablesAboveCapacityAndSegmentsThatPointNowhere)
{
    const std::string full = FormatBlockFile(FullRecord());
    BlockData record;
    ASSERT_TRUE(ReadContent(full, record));

    // Each count one above its table's capacity, with the row it announces added.
    const struct {
        const char* what;
        std::string count;
        std::string tooMany;
        std::string extraRow;
    } overfull[] = {
        {"52 layers", "\r\n51\r\n", "\r\n52\r\n", "1,1,1\r\n"},
        {"101 points", "\r\n100\r\n", "\r\n101\r\n", "1,1\r\n"},
        {"201 segments", "\r\n200\r\n", "\r\n201\r\n", "1,2,0\r\n"},
    };
    for (const auto& c : overfull) {
        std::string content = full;
        const std::size_t at = content.find(c.count);
        ASSERT_NE(at, std::string::npos) << c.what;
        content.replace(at, c.count.size(), c.tooMany + c.extraRow);
        EXPECT_FALSE(ReadContent(content, record)) << c.what;
    }

    // clang-format off
    const struct {
        const char* what;
        const char* segment;
    } nowhere[] = {
        {"a start at point 0", "0,2,0"},
        {"an end one past the last point", "1,4,0"},
        {"a negative start", "-1,2,0"},
        {"an end far past the table", "3,3000,1"},
    };
    // clang-format on
    for (const auto& c : nowhere) {
        auto lines = Lines(kExample);
        lines[11] = std::string(c.segment) + "\r\n";
        EXPECT_FALSE(ReadContent(Join(lines), record)) << c.what;
    }
    // A line kind other than 0 or 1 is kept as read.
    auto lines = Lines(kExample);
    lines[11] = "1,2,7\r\n";
    ASSERT_TRUE(ReadContent(Join(lines), record));
    EXPECT_EQ(record.LineKind[1], 7);
}

TEST(BlockFile, AFailedWriteLeavesTheOldFileAsItWas)
{
    TempFolder folder;
    const std::string target = folder.write("old.csv", kExample);
    std::filesystem::create_directory(folder.path() / "folder.csv");

    EXPECT_THROW(WriteBlockFile(FullRecord(), folder.dataPath() + "folder.csv"), FileWriteError);
    EXPECT_THROW(WriteBlockFile(FullRecord(), folder.dataPath() + "missing/new.csv"), FileWriteError);
    BlockData infinite = FullRecord();
    infinite.PointY[3] = std::numeric_limits<double>::infinity();
    EXPECT_THROW(WriteBlockFile(infinite, target), FileWriteError);

    try {
        WriteBlockFile(FullRecord(), folder.dataPath() + "folder.csv");
    } catch (const FileWriteError& error) {
        EXPECT_EQ(error.path(), folder.dataPath() + "folder.csv");
        EXPECT_FALSE(error.reason().empty());
    }
    EXPECT_EQ(folder.read("old.csv"), kExample);

    // Nothing but the two files is left behind: no temporary survives a failure.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 2u);

    // A successful write replaces the old content whole.
    WriteBlockFile(ExampleRecord(), target);
    EXPECT_EQ(folder.read("old.csv"), kExample);
}

#ifndef _WIN32
TEST(BlockFile, AWriteIntoAReadOnlyFolderFailsAndKeepsTheOldFile)
{
    TempFolder folder;
    const std::string target = folder.write("old.csv", kExample);
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                     std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    // Permissions do not bind the superuser, so the write is tried as an ordinary user.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0)
                std::_Exit(3);
            try {
                WriteBlockFile(FullRecord(), target);
            } catch (const FileWriteError&) {
                std::_Exit(0);
            }
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(folder.read("old.csv"), kExample);
}
#endif

}  // namespace
}  // namespace chokusho
