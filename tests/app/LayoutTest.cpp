// In the Czech interface, whose words are longer than the English ones, no label or button of a
// dialog is cut off: each is at least as large as it asks to be once its dialog is shown.
#include "app/Language.h"
#include "comm/Results.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/LogView.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelChoice.h"
#include "comm/forms/PanelName.h"
#include "comm/forms/PanelResults.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/PanelsProgress.h"
#include "commands/Input.h"
#include "editor/About.h"
#include "editor/Child.h"
#include "editor/Help.h"
#include "sim/ExportDialog.h"
#include "sim/Preview.h"
#include "sim/Sim.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace zor {
namespace {

// The labels and buttons of top (shown) that are narrower or lower than they ask to be; a label
// that wraps its words must have the height its width needs.
QStringList CutOffList(QWidget &top)
{
    top.show();
    QApplication::processEvents();
    QStringList failures;
    const auto name = [&top](const QWidget &w, const QString &text) {
        return QStringLiteral("%1/%2 \"%3\" %4x%5 < %6x%7")
            .arg(top.objectName(), w.objectName(), text)
            .arg(w.width())
            .arg(w.height())
            .arg(w.sizeHint().width())
            .arg(w.sizeHint().height());
    };
    for (QWidget *w : top.findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        const QSize hint = w->sizeHint();
        if (const auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty())
                continue;
            if (label->wordWrap()
                    ? label->height() < label->heightForWidth(label->width())
                    : hint.width() > label->width() || hint.height() > label->height())
                failures << name(*w, label->text());
        } else if (auto *push = qobject_cast<QPushButton *>(w)) {
            // A push button's hint has the style's least width (80 px) in it, which a small
            // button such as ">>" need not have: its text must fit within its frame.
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            const QRect contents =
                push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
            const QSize text = push->fontMetrics().size(Qt::TextShowMnemonic, push->text());
            if (!push->text().isEmpty() &&
                (text.width() > contents.width() || text.height() > contents.height()))
                failures << name(*w, push->text());
        } else if (const auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (!button->text().isEmpty() &&
                (hint.width() > button->width() || hint.height() > button->height()))
                failures << name(*w, button->text());
        }
    }
    return failures;
}

// The same, one a line (empty when none is cut off), of every page of each tab widget of top.
std::string CutOff(QWidget &top)
{
    QStringList failures = CutOffList(top);
    for (QTabWidget *tabs : top.findChildren<QTabWidget *>())
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            failures << CutOffList(top);
        }
    failures.removeDuplicates();
    return failures.join(QLatin1Char('\n')).toStdString();
}

TEST(CzechLayout, NoLabelOrButtonOfADialogIsCutOff)
{
    ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("cs_CZ"))));
    // A desktop font a size larger than the usual, as many set it.
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    QApplication::setFont(font);

    TParamet parameters;
    EXPECT_EQ(CutOff(parameters), "");

    TPanelName name;
    name.Ask(QStringLiteral("Přidat panel"), QStringLiteral("Hala=1"), {});
    EXPECT_EQ(CutOff(name), "") << "the longest problem";

    Tabb about;
    EXPECT_EQ(CutOff(about), "");
    TExportDialog exportDialog;
    EXPECT_EQ(CutOff(exportDialog), "");
    TGraf progress;
    EXPECT_EQ(CutOff(progress), "");
    TVstup counters;
    EXPECT_EQ(CutOff(counters), "");
    TFormSim simulation;
    EXPECT_EQ(CutOff(simulation), "");
    TLogView log;
    EXPECT_EQ(CutOff(log), "");
    TVloz number;
    EXPECT_EQ(CutOff(number), "");
    THelpWindow help;
    EXPECT_EQ(CutOff(help), "");
    TPreviewDock preview;
    EXPECT_EQ(CutOff(preview), "");

    TPanelTarget hall;
    hall.Name = "Hala";
    hall.Device.Name = "/dev/ttyS0";
    TPanelTarget gate = hall;
    gate.Name = "Brána";
    gate.Device.Name = "/dev/ttyS1";
    TPanelChoice choice;
    choice.PanelList->SetTargets({hall, gate}, {});
    EXPECT_EQ(CutOff(choice), "");
    TPanelsProgress panelsProgress;
    EXPECT_EQ(CutOff(panelsProgress), "");
    TPanelOutcome ok, timeout;
    timeout.Code = ResultTimeout;
    TPanelResults results;
    results.SetResults(QStringLiteral("Odeslat na panely"), {hall, gate}, {ok, timeout});
    EXPECT_EQ(CutOff(results), "");
}

// A new document is offered for saving under its Czech name, not the marker "Untitled" that its
// file name holds.
TEST(CzechLayout, ANewDocumentIsSavedUnderItsNameInTheInterfacesLanguage)
{
    ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("cs_CZ"))));
    test::TScriptedDialogs dialogs;
    TMDIChild child;
    EXPECT_FALSE(child.SaveAs()) << "cancelled";
    ASSERT_EQ(dialogs.FileDialogs.size(), 1);
    EXPECT_EQ(dialogs.FileDialogs[0].Title, QStringLiteral("Uložit Bez názvu jako..."));
    EXPECT_EQ(dialogs.FileDialogs[0].FileName, QStringLiteral("Bez názvu"));
}

} // namespace
} // namespace zor
