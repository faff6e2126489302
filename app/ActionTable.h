// The main window's command table, its menus and its toolbar groups (ActionTable.cpp).
#pragma once

#include "app/Zoredit.h"

namespace zor {

// Toolbar buttons are square, and the bars one button high, in pixels.
inline constexpr int ButtonSize = 27;

// What an action's enabled state follows, besides the action's own rule. Actions that need an
// open document are in the window's DocumentActions group, the window arrangements in its
// WindowActions group; a grouped action is enabled when its group and its own state both allow.
enum class TActionRule {
    Always,    // always available, or by its own part's rule (Transfer log)
    Document,  // an open document
    Selection, // a selection in the focused editor (Cut, Copy)
    Clipboard, // text on the clipboard, and an open document (Paste)
    Contents,  // a non-empty focused document, and an open document (Select All)
    Undo,      // something to undo in the focused editor, and an open document
    Redo,      // something to redo in the focused editor, and an open document
    Windows,   // at least one document window (Cascade, Tile)
};

struct TMainForm::TActionEntry
{
    // The action, its object name (the menu item's), its menu and the name of a separator in
    // front of it there (or null).
    QAction *TMainForm::*Action;
    const char *Name;
    QMenu *TMainForm::*Menu;
    const char *SeparatorBefore;
    const char *Caption;
    const char *Hint; // "short|long", or one text for both
    QKeyCombination Shortcut;
    int Image; // index into ImageList, -1 for none
    TActionRule Rule;
    // Run when the action is triggered; a switch (checkable action) has Switched instead, or
    // neither when the part it belongs to follows it itself (Preview).
    void (TMainForm::*Handler)();
    void (TMainForm::*Switched)(bool) = nullptr;
    bool Checkable = false;
    // The ToolBar1 button's name, when the command has one.
    const char *ButtonName = nullptr;
};

// One menu of the menu bar.
struct TMainForm::TMenuEntry
{
    QMenu *TMainForm::*Menu;
    const char *Caption, *Name, *Hint;
};

// A group of ToolBar1's buttons, and the gap after it in pixels (0 for none).
struct TMainForm::TToolGroup
{
    std::vector<QAction * TMainForm::*> Actions;
    int Gap;
};

} // namespace zor
