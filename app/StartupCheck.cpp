#include "app/StartupCheck.h"

#include "app/FontCheck.h"
#include "app/Zoredit.h"
#include "base/Version.h"
#include "editor/Child.h"
#include "editor/Help.h"
#include "editor/Recovery.h"

#include <QDialog>
#include <QFileInfo>

namespace zor {

namespace {

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
        std::fprintf(Out, "message box: %s: %s\n", caption.toLocal8Bit().constData(),
                     oneLine.toLocal8Bit().constData());
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

QByteArray Local(const QString &s)
{
    return s.toLocal8Bit();
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
    std::fprintf(out, "symbol font: %s\n", font.isEmpty() ? "not found" : Local(font).constData());
    ok = ok && !font.isEmpty();

    for (const char *page : {THelpWindow::ContentsPage, THelpWindow::HelpOnHelpPage}) {
        const bool found = THelpWindow::IsManualUrl(THelpWindow::PageUrl(QLatin1String(page)));
        std::fprintf(out, "manual: %s %s\n", page, found ? "found" : "not found");
        ok = ok && found;
    }

    const QFileInfo settings(form.SettingsPath());
    const bool writable = QFileInfo(settings.absolutePath()).isWritable();
    std::fprintf(out, "settings file: %s%s\n", Local(settings.absoluteFilePath()).constData(),
                 writable ? "" : " (its folder is not writable)");
    ok = ok && writable;

    // Made and removed again, as an editor's own folder would be: the folder's permission bits
    // alone do not say whether it can be written (a read-only mount, a full disk, root).
    const std::vector<std::string> recovery = RecoveryFolders();
    std::string recoveryError;
    TRecoveryStore probe(recovery.front());
    const bool recoverable = probe.Open(&recoveryError);
    probe.Finish();
    std::fprintf(out, "recovery folder: %s%s%s\n", recovery.front().c_str(),
                 recoverable ? "" : " (cannot be written: ",
                 recoverable ? "" : (recoveryError + ")").c_str());
    if (!recoverable)
        for (std::size_t i = 1; i < recovery.size(); ++i) {
            TRecoveryStore fallback(recovery[i]);
            if (fallback.Open()) {
                fallback.Finish();
                std::fprintf(out, "recovery copies go to: %s\n", recovery[i].c_str());
                break;
            }
        }
    ok = ok && recoverable;

    form.OpenDocuments(files);
    for (TMDIChild *w : form.Documents())
        std::fprintf(out, "document window: %s\n", Local(w->FileName).constData());

    if (dialogs.Count > 0)
        ok = false;
    // Nothing was changed, so closing asks nothing.
    for (TMDIChild *w : form.Documents())
        w->Editor->document()->setModified(false);
    return ok ? 0 : 1;
}

} // namespace zor
