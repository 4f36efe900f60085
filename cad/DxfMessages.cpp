// What the user reads when a DXF file is not read or not imported.

#include <string>

#include "DxfImport.h"
#include "DxfReader.h"
#include "Numbers.h"

namespace chokusho {

namespace {

std::string FailureText(DxfFailure failure, int line, const DxfImportCounts& counts)
{
    switch (failure) {
    case DxfFailure::None: return {};
    case DxfFailure::Binary:
        return "バイナリ形式の DXF は読めません。CAD で ASCII 形式の DXF として保存し直してください。";
    case DxfFailure::Dwg: return "DWG ファイルは読めません。CAD で DXF 形式 (ASCII) として保存してください。";
    case DxfFailure::NotDxf: return "DXF ファイルではありません。";
    case DxfFailure::Truncated: return "DXF ファイルが途中で終わっています。";
    case DxfFailure::BadNumber:
        return line > 0 ? std::to_string(line) + " 行目の数値が読めないか、有限の数ではありません。"
                        : std::string("座標が大きすぎて、読み込めません。");
    case DxfFailure::TooComplex:
        return "図形が多すぎて読み込めません (ブロックの入れ子が深すぎるか、円弧を分ける弦が多すぎます)。"
               "レイヤーを減らすか、許容差を大きくしてください。";
    case DxfFailure::EmptySelection: return "選んだレイヤーに読み込める線がありません。";
    case DxfFailure::TooLarge:
        return "点が " + std::to_string(counts.points) + " 個、線分が " + std::to_string(counts.segments()) +
               " 本になります。ブロックには点 " + std::to_string(kMaxPoints) + " 個、線分 " +
               std::to_string(kMaxLines) +
               " 本までしか入りません。レイヤーのチェックを外すか、許容差を大きくしてください。";
    }
    return {};
}

}  // namespace

std::string DxfReadFailureText(const DxfReadResult& result) { return FailureText(result.failure, result.line, {}); }

std::string DxfImportFailureText(const DxfImport& import) { return FailureText(import.failure, 0, import.counts); }

std::string DxfImportCountsText(const DxfImportCounts& counts)
{
    const auto n = [](long long value) { return FormatInteger(value); };
    return "点 " + n(counts.points) + " 個、線分 " + n(counts.segments()) + " 本 (実線 " + n(counts.solidSegments) +
           "、点線 " + n(counts.dottedSegments) + ")、円弧の弦 " + n(counts.chords) + " 本、読み飛ばした図形 " +
           n(counts.skipped.total()) + " 個、T 字の交点 " + n(counts.tJunctions) + " か所";
}

}  // namespace chokusho
