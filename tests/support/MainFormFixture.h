// A main window for GUI tests, with its forms, scripted dialogs, the repository's symbol font and
// a settings file in a fresh folder. Test programs that include it link zorapp and define
// ZOR_SYMBOL_FONT_DIR.
#pragma once

#include "app/Zoredit.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zor::test {

class TMainFormTest : public ::testing::Test
{
protected:
    TMainFormTest()
    {
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Dir.filePath(QStringLiteral("zoredit.INI"));
        o.StartDirectory = Dir.path();
        Form = std::make_unique<TMainForm>(o);
        Form->CreateForms();
    }

    // Declared in this order: the dialogs answer the window's start-up already.
    QTemporaryDir Dir;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
};

} // namespace zor::test
