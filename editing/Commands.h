#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace chokusho {

/** Every command of the main window: a menu item, a toolbar button, or both. */
enum class Command {
    FileNew,
    FileOpen,
    FileOverwrite,
    FileSave,
    FilePrint,
    FileExport,
    FileImport,
    FileRecentClear,
    FileEnd,
    DispKaku,
    DispShuku,
    DispAll,
    DispRedraw,
    DispGrid,
    DispPntNo,
    DispShade,
    BlkPara,
    PointHen,
    PointDel,
    PointMov,
    PointAdd,
    LineIn,
    LineDel,
    LineDelAll,
    LineKind,
    HelpHelp,
    HelpVer,
    Undo,
    Redo,
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::Redo) + 1;

/** When a command can be chosen. */
enum class EnableRule {
    Always,
    WithLines,    // the block has segments
    WithPoints,   // the block has points
    WithHistory,  // the undo or redo stack holds a step (it reports that itself)
};

/**
 * A command: how the window shows it, which keys reach it and when it is enabled. What it does is
 * FrameLogic::Run's, whose switch over every command the compiler checks for completeness.
 */
struct CommandEntry {
    Command command;
    const char* menuItem;             // the menu item's control name ("mnuLineDel"); null without one
    const char* menuText;             // the menu item's caption, with its access key
    const char* button;               // the toolbar button's key ("Line_Del"); null without one
    const char* buttonText;           // the button's tooltip
    const char* icon;                 // the button's icon, a file of the program's icons
    std::array<const char*, 2> keys;  // shortcuts in Qt's portable text, the first shown; null: none
    bool checkable;                   // ticked or pressed while its switch is on
    bool startsMode;                  // a mouse mode: Escape backs out of it
    EnableRule enable;
};

/** The entry of `command`. */
const CommandEntry& EntryOf(Command command);

/** Every command, in the order of the enum. */
std::span<const CommandEntry> AllCommands();

/** The command whose toolbar key or menu item is `name`; nullopt for a name no command has. */
std::optional<Command> CommandNamed(std::string_view name);

/**
 * A place in a drop-down menu: a command, a separator (named, or not when null), or a submenu
 * (`submenuName`) whose entries the window builds before its places (the recent files).
 */
struct MenuSlot {
    std::optional<Command> command;
    const char* separatorName = nullptr;
    const char* submenuName = nullptr;
    const char* submenuTitle = nullptr;
    std::span<const MenuSlot> submenu = {};
};

/**
 * An entry of the menu bar: a drop-down menu with its places, or, without any, the command
 * `command` on the bar itself (ブロック諸元).
 */
struct MenuBarEntry {
    const char* name;   // control name ("mnuFile"); for a command on the bar, its menu item
    const char* title;  // caption with its access key
    std::span<const MenuSlot> places;
    std::optional<Command> command;
};

/** The menu bar from left to right. */
std::span<const MenuBarEntry> MenuBar();

/** The toolbar's buttons from left to right; nullopt stands for a separator. */
std::span<const std::optional<Command>> ToolbarLayout();

}  // namespace chokusho
