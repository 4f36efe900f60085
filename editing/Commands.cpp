#include "Commands.h"

namespace chokusho {

namespace {

using C = Command;
using E = EnableRule;

// clang-format off
/** One row a command, in the order of the enum (checked below). */
constexpr CommandEntry kCommands[] = {
    // command        menu item           caption                     button      tooltip       icon               keys                       check  mode   enabled
    {C::FileNew,       "mnuFileNew",       "新規(&N)",                 "NewOpen",  "新規",       "new.svg",         {"Ctrl+N"},                false, false, E::Always},
    {C::FileOpen,      "mnuFileOpen",      "開く(&O)...",              "Open",     "開く",       "open.svg",        {"Ctrl+O"},                false, false, E::Always},
    {C::FileOverwrite, "mnuFileOverwrite", "上書き保存(&W)",           nullptr,    nullptr,      nullptr,           {"Ctrl+S"},                false, false, E::Always},
    {C::FileSave,      "mnuFileSave",      "保存(&S)...",              "Save",     "保存",       "save.svg",        {"Ctrl+Shift+S"},          false, false, E::Always},
    {C::FilePrint,     "mnuFilePrint",     "印刷(&P)...",              nullptr,    nullptr,      nullptr,           {"Ctrl+P"},                false, false, E::Always},
    {C::FileExport,    "mnuFileExport",    "エクスポート(&E)...",      nullptr,    nullptr,      nullptr,           {},                        false, false, E::Always},
    {C::FileImport,    "mnuFileImport",    "DXF 読み込み(&I)...",      nullptr,    nullptr,      nullptr,           {},                        false, false, E::Always},
    {C::FileRecentClear, "mnuFileRecentClear", "一覧を消去",         nullptr,    nullptr,      nullptr,           {},                        false, false, E::Always},
    {C::FileEnd,       "mnuFileEnd",       "終了(&X)",                 nullptr,    nullptr,      nullptr,           {"Ctrl+Q"},                false, false, E::Always},
    {C::DispKaku,      "mnuDispKaku",      "拡大",                     "Kakudai",  "拡大",       "zoom-in.svg",     {},                        false, true,  E::Always},
    {C::DispShuku,     "mnuDispShuku",     "縮小",                     "Shukusho", "縮小",       "zoom-out.svg",    {},                        false, true,  E::Always},
    {C::DispAll,       "mnuDispAll",       "全表示",                   "Zenhyoji", "全表示",     "show-all.svg",    {},                        false, false, E::Always},
    {C::DispRedraw,    "mnuDispRedraw",    "再表示",                   "Redraw",   "再表示",     "redraw.svg",      {"F5"},                    false, false, E::Always},
    {C::DispGrid,      "mnuDispGrid",      "グリッド",                 "Grid",     "グリッド",   "grid.svg",        {},                        true,  false, E::Always},
    {C::DispPntNo,     "mnuDispPntNo",     "点名表示",                 nullptr,    nullptr,      nullptr,           {},                        true,  false, E::Always},
    {C::DispShade,     "mnuDispShade",     "断面の塗り",               nullptr,    nullptr,      nullptr,           {},                        true,  false, E::Always},
    {C::BlkPara,       "mnuBlkPara",       "ブロック諸元(&B)...",      nullptr,    nullptr,      nullptr,           {},                        false, false, E::Always},
    {C::PointHen,      "mnuPointHen",      "編集...",                  nullptr,    nullptr,      nullptr,           {},                        false, false, E::Always},
    {C::PointDel,      "mnuPointDel",      "削除",                     "Pnt_Del",  "点削除",     "delete-point.svg", {},                       false, true,  E::WithPoints},
    {C::PointMov,      "mnuPointMov",      "移動",                     nullptr,    nullptr,      nullptr,           {},                        false, true,  E::WithPoints},
    {C::PointAdd,      "mnuPointAdd",      "点追加",                   "Pnt_Add",  "点追加",     "add-point.svg",   {},                        false, true,  E::Always},
    {C::LineIn,        "mnuLineIn",        "結線",                     "Line",     "結線",       "connect.svg",     {},                        false, true,  E::WithPoints},
    {C::LineDel,       "mnuLineDel",       "削除",                     "Line_Del", "線削除",     "delete-line.svg", {},                        false, true,  E::WithLines},
    {C::LineDelAll,    "mnuLineDelAll",    "一括削除",                 nullptr,    nullptr,      nullptr,           {},                        false, false, E::WithLines},
    {C::LineKind,      "mnuLineKind",      "線種変更",                 nullptr,    nullptr,      nullptr,           {},                        false, true,  E::Always},
    {C::HelpHelp,      "mnuHelpHelp",      "ヘルプ（&M）...",          "Help",     "ヘルプ",     "help.svg",        {"F1"},                    false, false, E::Always},
    {C::HelpVer,       "mnuHelpVer",       "バージョン情報（&A）...",  nullptr,    nullptr,      nullptr,           {},                        false, false, E::Always},
    {C::Undo,          nullptr,            nullptr,                    "Undo",     "元に戻す",   "undo.svg",        {"Ctrl+Z"},                false, false, E::WithHistory},
    {C::Redo,          nullptr,            nullptr,                    "Redo",     "やり直し",   "redo.svg",        {"Ctrl+Y", "Ctrl+Shift+Z"}, false, false, E::WithHistory},
};

constexpr MenuSlot kRecentMenu[] = {{std::nullopt, "mnuFileRecentSep"}, {C::FileRecentClear}};
constexpr MenuSlot kFileMenu[] = {
    {C::FileNew}, {C::FileOpen}, {C::FileOverwrite}, {C::FileSave}, {std::nullopt, ""},
    {C::FileImport}, {C::FilePrint}, {C::FileExport}, {std::nullopt, "mnuFileRecentTop"},
    {std::nullopt, nullptr, "mnuFileRecent", "最近使ったファイル(&R)", kRecentMenu},
    {std::nullopt, "mnuFileSep"}, {C::FileEnd},
};
constexpr MenuSlot kViewMenu[] = {
    {C::DispKaku}, {C::DispShuku}, {C::DispAll}, {C::DispRedraw}, {std::nullopt, "mnuDispSep"},
    {C::DispGrid}, {C::DispPntNo}, {C::DispShade},
};
constexpr MenuSlot kPointMenu[] = {{C::PointHen}, {C::PointDel}, {C::PointMov}, {C::PointAdd}};
constexpr MenuSlot kLineMenu[] = {{C::LineIn}, {C::LineDel}, {C::LineDelAll}, {C::LineKind}};
constexpr MenuSlot kHelpMenu[] = {{C::HelpHelp}, {std::nullopt, "mnuHelpSep"}, {C::HelpVer}};

constexpr MenuBarEntry kMenuBar[] = {
    {"mnuFile", "ﾌｧｲﾙ(&F)", kFileMenu, std::nullopt},
    {"mnuDisp", "表示(&V)", kViewMenu, std::nullopt},
    {"mnuBlkPara", "ブロック諸元(&B)...", {}, C::BlkPara},
    {"mnuPoint", "点(&P)", kPointMenu, std::nullopt},
    {"mnuLine", "線分(&L)", kLineMenu, std::nullopt},
    {"mnuHelp", "ヘルプ(&H)", kHelpMenu, std::nullopt},
};

constexpr std::optional<Command> kToolbar[] = {
    C::FileNew, C::FileOpen, C::FileSave, std::nullopt,
    C::DispKaku, C::DispShuku, C::DispAll, C::DispRedraw, C::DispGrid, std::nullopt,
    C::LineIn, C::LineDel, C::PointDel, C::PointAdd, std::nullopt,
    C::Undo, C::Redo, C::HelpHelp,
};
// clang-format on

constexpr bool InEnumOrder()
{
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        if (static_cast<std::size_t>(kCommands[i].command) != i)
            return false;
    }
    return std::size(kCommands) == kCommandCount;
}
static_assert(InEnumOrder(), "one row a command, in the order of the enum");

}  // namespace

const CommandEntry& EntryOf(Command command) { return kCommands[static_cast<std::size_t>(command)]; }

std::span<const CommandEntry> AllCommands() { return kCommands; }

std::optional<Command> CommandNamed(std::string_view name)
{
    for (const CommandEntry& entry : kCommands) {
        if ((entry.button != nullptr && name == entry.button) || (entry.menuItem != nullptr && name == entry.menuItem))
            return entry.command;
    }
    return std::nullopt;
}

std::span<const MenuBarEntry> MenuBar() { return kMenuBar; }

std::span<const std::optional<Command>> ToolbarLayout() { return kToolbar; }

}  // namespace chokusho
