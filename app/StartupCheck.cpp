#include "app/StartupCheck.h"

#include "app/FontCheck.h"
#include "app/Zoredit.h"
#include "base/Version.h"
#include "editor/Child.h"
#include "editor/Help.h"
#include "editor/Recovery.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>

#include <initializer_list>
#include <string>
#include <vector>

namespace zor {

namespace {

QByteArray Local(const QString &s)
{
    return s.toLocal8Bit();
}

// One line of the report: its words in the reader's language, the names (paths, system
// messages) put in byte for byte as the system gave them.
void Report(std::FILE *out, const QString &line, std::initializer_list<std::string> args = {})
{
    const QByteArray pattern = Local(line);
    const std::vector<std::string> values(args);
    std::string text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
            std::size_t(pattern[i + 1] - '1') < values.size()) {
            text += values[std::size_t(pattern[++i] - '1')];
            continue;
        }
        text += c;
    }
    text += '\n';
    std::fputs(text.c_str(), out);
}

std::string LocalString(const QString &s)
{
    return Local(s).toStdString();
}

// Answers every question with its first button and reports it, so a check never waits for a
// person and never hides a message.
class TReportingDialogs : public TDialogs
{
public:
    explicit TReportingDialogs(std::FILE *out) : Out(out) { Previous = SetDialogs(this); }
    ~TReportingDialogs() override { SetDialogs(Previous); }

    int Count = 0;

    TMsgAnswer MessageBox(QWidget *, const QString &caption, const QString &text, TMsgIcon,
                          TMsgButtons buttons) override
    {
        ++Count;
        QString oneLine = text;
        oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
        Report(Out, QCoreApplication::translate("StartupCheck", "message box: %1: %2"),
               {LocalString(caption), LocalString(oneLine)});
        return buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel ? TMsgAnswer::Ok
                                                                              : TMsgAnswer::Yes;
    }
    bool ExecuteOpen(QWidget *, TFileDialogState &) override { return false; }
    bool ExecuteSave(QWidget *, TFileDialogState &) override { return false; }
    bool ExecuteFont(QWidget *, TFontDialogState &) override { return false; }
    bool ExecutePrint(QWidget *, QPrinter &) override { return false; }
    bool ExecutePrinterSetup(QWidget *, QPrinter &) override { return false; }
    int ExecuteForm(QDialog &) override { return QDialog::Rejected; }

private:
    std::FILE *Out;
    TDialogs *Previous = nullptr;
};

// A path as the platform writes it (backslashes on Windows), whichever way it was put together.
std::string NativePath(const QString &path)
{
    return LocalString(QDir::toNativeSeparators(path));
}

std::string NativePath(const std::string &path)
{
    return NativePath(QString::fromStdString(path));
}

} // namespace

int RunStartupCheck(const QStringList &files, std::FILE *out)
{
    TReportingDialogs dialogs(out);
    std::fprintf(out, "zoredit %s\n", kVersion);
    bool ok = true;

    TMainForm form;
    form.CreateForms();

    const QString font = FindSymbolFont(DefaultSymbolFontFolders());
    Report(out, QCoreApplication::translate("StartupCheck", "symbol font: %1"),
           {font.isEmpty() ? LocalString(QCoreApplication::translate("StartupCheck", "not found"))
                           : NativePath(font)});
    ok = ok && !font.isEmpty();

    for (const char *page : {THelpWindow::ContentsPage, THelpWindow::HelpOnHelpPage}) {
        const bool found = THelpWindow::IsManualUrl(THelpWindow::PageUrl(QLatin1String(page)));
        Report(
            out, QCoreApplication::translate("StartupCheck", "manual: %1 %2"),
            {page, LocalString(found ? QCoreApplication::translate("StartupCheck", "found")
                                     : QCoreApplication::translate("StartupCheck", "not found"))});
        ok = ok && found;
    }

    const QFileInfo settings(form.SettingsPath());
    const bool writable = QFileInfo(settings.absolutePath()).isWritable();
    Report(out,
           writable ? QCoreApplication::translate("StartupCheck", "settings file: %1")
                    : QCoreApplication::translate("StartupCheck",
                                                  "settings file: %1 (its folder is not writable)"),
           {NativePath(settings.absoluteFilePath())});
    ok = ok && writable;

    // Made and removed again, as an editor's own folder would be: the folder's permission bits
    // alone do not say whether it can be written (a read-only mount, a full disk, root).
    const std::vector<std::string> recovery = RecoveryFolders();
    std::string recoveryError;
    TRecoveryStore probe(recovery.front());
    const bool recoverable = probe.Open(&recoveryError);
    probe.Finish();
    Report(out,
           recoverable ? QCoreApplication::translate("StartupCheck", "recovery folder: %1")
                       : QCoreApplication::translate("StartupCheck",
                                                     "recovery folder: %1 (cannot be written: %2)"),
           {NativePath(recovery.front()), recoveryError});
    if (!recoverable)
        for (std::size_t i = 1; i < recovery.size(); ++i) {
            TRecoveryStore fallback(recovery[i]);
            if (fallback.Open()) {
                fallback.Finish();
                Report(out,
                       QCoreApplication::translate("StartupCheck", "recovery copies go to: %1"),
                       {NativePath(recovery[i])});
                break;
            }
        }
    ok = ok && recoverable;

    form.OpenDocuments(files);
    for (TMDIChild *w : form.Documents())
        Report(out, QCoreApplication::translate("StartupCheck", "document window: %1"),
               {NativePath(w->FileName)});

    if (dialogs.Count > 0)
        ok = false;
    // Nothing was changed, so closing asks nothing.
    for (TMDIChild *w : form.Documents())
        w->Editor->document()->setModified(false);
    return ok ? 0 : 1;
}

} // namespace zor
