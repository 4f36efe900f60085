#include "ModeTypes.h"

namespace chokusho {

const char* MessageText(Prompt prompt)
{
    switch (prompt) {
    case Prompt::ConnectStart: return "結線開始点の選択。(マウス右：選択終了)";
    case Prompt::ConnectEnd: return "結線終了点の選択。(マウス右：結線開始点選択へ)";
    case Prompt::DeleteLines: return "削除線分の選択。同一線指定で解除(マウス右：削除)";
    case Prompt::ZoomIn: return "拡大 左クリック１点拡大、左ドラッグ領域指定 (マウス右：拡大終了)";
    case Prompt::ZoomInCorner: return "拡大領域2点目指定";
    case Prompt::ZoomOut: return "縮小 左クリック１点縮小、左ドラッグ領域指定 (マウス右：縮小終了)";
    case Prompt::ZoomOutCorner: return "縮小領域2点目指定";
    case Prompt::DeletePoints: return "削除点の選択。同一点指定で解除(マウス右：削除)";
    case Prompt::MovePoints:
        return "移動点の選択。左クリック→１点指定、左ドラッグ→領域指定 "
               "(マウス右：選択時→移動量指定、未選択→点移動終了)";
    case Prompt::MovePointsCorner: return "移動点の選択。領域2点目指定";
    case Prompt::LineKind: return "線種変更する線分の選択。同一線指定で解除(マウス右：線種変更)";
    case Prompt::AddPoint: return "追加する点の位置を指定。Shift：グリッド点(マウス右：点追加終了)";
    case Prompt::None: break;
    }
    return "";
}

Prompt FirstPrompt(DispMode mode)
{
    switch (mode) {
    case DispMode::ZoomIn: return Prompt::ZoomIn;
    case DispMode::ZoomOut: return Prompt::ZoomOut;
    case DispMode::Connect: return Prompt::ConnectStart;
    case DispMode::DeleteLines: return Prompt::DeleteLines;
    case DispMode::DeletePoints: return Prompt::DeletePoints;
    case DispMode::MovePoints: return Prompt::MovePoints;
    case DispMode::LineKind: return Prompt::LineKind;
    case DispMode::AddPoint: return Prompt::AddPoint;
    case DispMode::None: break;
    }
    return Prompt::None;
}

}  // namespace chokusho
