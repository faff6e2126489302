// Program start: the application, the main window and its secondary forms, the event loop, and
// the documents named on the command line.
#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/SettingsLocation.h"
#include "app/StartupCheck.h"
#include "app/TerminationSignals.h"
#include "app/Zoredit.h"
#include "base/Version.h"
#include "editor/AppIcon.h"
#include "editor/Recovery.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    // --version and --help need no display: answer them before Qt looks for one.
    {
        QStringList early;
        for (int i = 1; i < argc; ++i)
            early << QString::fromLocal8Bit(argv[i]);
        const zor::TCommandLine line = zor::ParseCommandLine(early);
        if (line.Version) {
            std::printf("zoredit %s\n", zor::kVersion);
            return 0;
        }
        if (line.Help) {
            // In the operator's language, which needs an application but no display.
            QCoreApplication help(argc, argv);
            zor::InstallTranslationsFromSettings(zor::DefaultSettingsFile());
            std::fputs(zor::CommandLineUsage().toLocal8Bit().constData(), stdout);
            return 0;
        }
    }

    QApplication app(argc, argv);
    zor::SetUpApplication();
    // Before the first window: every caption is read through the catalogue when it is made.
    zor::InstallTranslationsFromSettings(zor::DefaultSettingsFile());
    QApplication::setApplicationVersion(QLatin1String(zor::kVersion));
    // Lets the desktop match the running window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zoredit.ZorEdit"));

    // Qt's own options are gone from the arguments now.
    const zor::TCommandLine line = zor::ParseCommandLine(QApplication::arguments().mid(1));
    if (!line.Error.isEmpty()) {
        std::fprintf(stderr, "zoredit: %s\n%s", line.Error.toLocal8Bit().constData(),
                     zor::CommandLineUsage().toLocal8Bit().constData());
        return 2;
    }
    try {
        if (line.Check)
            return zor::RunStartupCheck(line.Files, stdout);
        zor::TMainForm mainForm;
        mainForm.CreateForms();
        mainForm.show();
        // Ended from outside, the editor asks nothing: it keeps what is unsaved for the next
        // start and goes.
        zor::TTerminationSignals termination;
        QObject::connect(&termination, &zor::TTerminationSignals::Received, &mainForm,
                         [&mainForm](int signal) {
                             mainForm.WriteRecoveryCopies();
                             zor::TTerminationSignals::EndBy(signal);
                         });
        QStringList recoveryFolders;
        for (const std::string &folder : zor::RecoveryFolders())
            recoveryFolders << QFile::decodeName(folder.c_str());
        mainForm.StartRecovery(recoveryFolders);
        mainForm.OpenDocuments(line.Files);
        return app.exec();
    } catch (const std::exception &e) {
        zor::ShowErrorBox(nullptr, QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
