// Program start: the application, the main window and its secondary forms, the event loop.
#include "app/Zoredit.h"
#include "editor/AppIcon.h"
#include "editor/Dialogs.h"

#include <QApplication>
#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zor::SetUpApplication();
    try {
        zor::TMainForm mainForm;
        mainForm.CreateForms();
        mainForm.show();
        return app.exec();
    } catch (const std::exception &e) {
        zor::ShowErrorBox(nullptr, QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
