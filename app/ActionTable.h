// The main window's command table, its menus and its toolbar groups (ActionTable.cpp).
#pragma once

#include "app/Zoredit.h"

namespace zor {

// Toolbar buttons are square, and the bars one button high, in pixels.
inline constexpr int ButtonSize = 27;

struct TMainForm::TActionEntry
{
    const char *Name;
    const char *Caption;
    const char *Hint;
    QKeyCombination Shortcut;
    int Image;
    TActionGroup Group;
    void (TMainForm::*Handler)();
    // The menu item, its object name, and the name of a separator in front of it (or null).
    QAction *TMainForm::*Item;
    const char *ItemName;
    const char *SeparatorBefore;
    // The toolbar button, when the command has one.
    QToolButton *TMainForm::*Button = nullptr;
    const char *ButtonName = nullptr;
};

// One menu of the menu bar; its items are the table's actions of the category Name.
struct TMainForm::TMenuEntry
{
    QMenu *TMainForm::*Menu;
    const char *Caption, *Name, *Hint;
};

// A group of ToolBar1's buttons by action name, and the gap after it in pixels (0 for none).
struct TMainForm::TToolGroup
{
    std::vector<const char *> Names;
    int Gap;
};

} // namespace zor
