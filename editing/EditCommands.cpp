#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <system_error>

#include "EditOperations.h"
#include "FileSystem.h"
#include "FrameLogic.h"
#include "Numbers.h"
#include "SegmentReattach.h"

namespace chokusho {

namespace {

/** The operating manual, looked for in the current folder and then in the program's. */
constexpr const char* kManualName = "直消操作説明.pdf";
/** Coordinates this close are one point when segments are joined to an edited point table. */
constexpr double kSamePoint = 0.0001;

bool IsFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

/** Where the manual is, or an empty path when it is in neither folder. */
std::filesystem::path FindManual(const std::filesystem::path& programFolder)
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error && IsFile(current / PathFromUtf8(kManualName)))
        return current / PathFromUtf8(kManualName);
    if (!programFolder.empty() && IsFile(programFolder / PathFromUtf8(kManualName)))
        return programFolder / PathFromUtf8(kManualName);
    return {};
}

/**
 * The new number of each old point: the lowest new point at the same place, 0 when none is.
 * An old point is compared as the table showed it, so a point with more decimals than the
 * table's three is still found when the user left its row alone.
 */
std::array<std::int16_t, kMaxPoints + 1> MatchPoints(const BlockData& before, const BlockData& after)
{
    std::array<std::int16_t, kMaxPoints + 1> newNumber{};
    const auto shown = [](double value) { return ReadReal(FormatGrid(value)).value_or(value); };
    const int oldCount = std::clamp<int>(before.PointCount, 0, kMaxPoints);
    const int newCount = std::clamp<int>(after.PointCount, 0, kMaxPoints);
    for (int k = 1; k <= oldCount; ++k) {
        const double x = shown(before.PointX[k]);
        const double y = shown(before.PointY[k]);
        for (int i = 1; i <= newCount; ++i) {
            if (std::fabs(x - after.PointX[i]) < kSamePoint && std::fabs(y - after.PointY[i]) < kSamePoint) {
                newNumber[k] = static_cast<std::int16_t>(i);
                break;
            }
        }
    }
    return newNumber;
}

/** Whether a segment whose ends have these new numbers survives: both ends were found. */
bool Kept(std::int16_t start, std::int16_t end) { return start > 0 && end > 0; }

/**
 * Visits every slot j of `before`'s segment table as `visit(j, start, end)`, with the new
 * numbers of the segment's ends among `after`'s points (0 for an end that is at no new point).
 */
template <class Visit>
void ForEachRenumberedSegment(const BlockData& before, const BlockData& after, Visit visit)
{
    const auto newNumber = MatchPoints(before, after);
    const auto renumber = [&newNumber](int point) {
        return point >= 0 && point <= kMaxPoints ? newNumber[static_cast<std::size_t>(point)] : std::int16_t{0};
    };
    for (int j = 1; j <= kMaxLines; ++j)
        visit(j, renumber(before.LineStart[j]), renumber(before.LineEnd[j]));
}

/** The question before the point table's confirmation drops `count` segments. */
MessageBoxRequest DroppedSegmentsQuestion(int count)
{
    MessageBoxRequest question;
    question.text = "座標を変更または削除した点につながる線分 " + FormatInteger(count) +
                    " 本が削除されます。\r\n続けますか？（キャンセルで構成点編集の表に戻ります）";
    question.title = "確認";
    question.buttons = MsgButtons::OkCancel;
    question.icon = MsgIcon::Exclamation;
    return question;
}

}  // namespace

void ReattachSegments(const BlockData& before, BlockData& data)
{
    // Built aside first: `before` may be `data` itself.
    std::int16_t count = 0;
    decltype(data.LineStart) starts{}, ends{}, kinds{};
    ForEachRenumberedSegment(before, data, [&](int j, std::int16_t start, std::int16_t end) {
        if (!Kept(start, end))
            return;
        const auto slot = static_cast<std::size_t>(++count);
        starts[slot] = start;
        ends[slot] = end;
        kinds[slot] = before.LineKind[static_cast<std::size_t>(j)];
    });
    data.LineCount = count;
    data.LineStart = starts;
    data.LineEnd = ends;
    data.LineKind = kinds;
}

int DroppedSegmentCount(const BlockData& before, const BlockData& after)
{
    int dropped = 0;
    ForEachRenumberedSegment(before, after, [&](int j, std::int16_t start, std::int16_t end) {
        const bool segment = before.LineStart[j] != 0 || before.LineEnd[j] != 0;
        if (segment && !Kept(start, end))
            ++dropped;
    });
    return dropped;
}

void FrameLogic::mnuLineDelAll_Click()
{
    Raber_Reset();
    state_.SelLineCount = 0;
    state_.SelPntCount = 0;
    modes_.End();

    MessageBoxRequest question;
    question.text = "登録線分を全て消去します。よろしいですか？";
    question.title = "確認";
    question.buttons = MsgButtons::OkCancel;
    if (port_.messageBox(question) == MsgAnswer::Cancel)
        return;

    PushUndo(state_, undo_label::kDeleteAllLines);
    DeleteAllLines(state_);
    Menu_Enable();
    Repaint();
}

void FrameLogic::mnuPointHen_Click()
{
    const BlockData before = state_.CurData;
    Raber_Reset();
    std::optional<BlockData> table = port_.showPointTable();
    // Segments whose points were moved or removed in the table go with them: the user is told
    // how many, and may go back to the table with what they typed to put them right.
    while (table) {
        const int dropped = DroppedSegmentCount(before, *table);
        if (dropped == 0 || port_.messageBox(DroppedSegmentsQuestion(dropped)) != MsgAnswer::Cancel)
            break;
        table = port_.showPointTableWith(*table);
    }
    if (!table)
        return;
    PushUndo(state_, undo_label::kEditPoints);
    BlockData& data = state_.CurData;
    data.PointCount = std::clamp<std::int16_t>(table->PointCount, 0, kMaxPoints);
    // Only the table's points: the slots above them are empty, whatever the table left there.
    data.PointX = {};
    data.PointY = {};
    std::copy_n(table->PointX.begin() + 1, data.PointCount, data.PointX.begin() + 1);
    std::copy_n(table->PointY.begin() + 1, data.PointCount, data.PointY.begin() + 1);
    // The table renumbers points freely; a segment survives when both its ends are still there.
    ReattachSegments(before, data);
    Repaint();
    Menu_Enable();
}

void FrameLogic::mnuBlkPara_Click()
{
    Raber_Reset();
    if (std::optional<BlockData> edited = port_.showBlockParams()) {
        PushUndo(state_, undo_label::kEditParams);
        state_.CurData = std::move(*edited);
    }
    Repaint();
    Menu_Enable();
}

void FrameLogic::mnuHelpHelp_Click()
{
    const std::filesystem::path manual = FindManual(programFolder_);
    if (!manual.empty() && port_.openDocument(PathToUtf8(manual)))
        return;
    MessageBoxRequest failure;
    failure.text = "pdfファイルに関連づけられたアプリケーションが見つかりません";
    failure.title = "Corvel_T";
    failure.icon = MsgIcon::Warning;
    port_.messageBox(failure);
}

}  // namespace chokusho
