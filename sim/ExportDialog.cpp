#include "sim/ExportDialog.h"

#include "sim/Preview.h"
#include "sim/engine/GifExport.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>

namespace zor {

TExportDialog::TExportDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(tr("Export animation"));
    auto *form = new QFormLayout(this);
    OnePass = new QRadioButton(tr("&One pass of the program (at most 60 s)"), this);
    OnePass->setObjectName(QStringLiteral("OnePass"));
    OnePass->setChecked(true);
    Seconds = new QRadioButton(tr("&Seconds:"), this);
    Seconds->setObjectName(QStringLiteral("Seconds"));
    SecondsValue = new QSpinBox(this);
    SecondsValue->setObjectName(QStringLiteral("SecondsValue"));
    SecondsValue->setAccessibleName(tr("Seconds"));
    // Beyond the limit on purpose: asking for more says why it cannot be had.
    SecondsValue->setRange(1, 3600);
    SecondsValue->setValue(60);
    Scale = new QSpinBox(this);
    Scale->setObjectName(QStringLiteral("Scale"));
    Scale->setAccessibleName(tr("Scale"));
    Scale->setRange(TGifRecorder::MinScale, TGifRecorder::MaxScale);
    Scale->setValue(2);
    Scale->setSuffix(tr(" pixels a dot"));
    form->addRow(tr("Length:"), OnePass);
    auto *seconds = new QHBoxLayout;
    seconds->addWidget(Seconds);
    seconds->addWidget(SecondsValue);
    form->addRow(QString(), seconds);
    // The words of AnimationTooLong, which zor prints, as a sentence.
    TooLong = new QLabel(tr("A GIF holds at most 15000 frames (5 minutes)."), this);
    TooLong->setObjectName(QStringLiteral("TooLong"));
    // Kept in the layout while hidden, so that the dialog does not change its size.
    QSizePolicy keep = TooLong->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    TooLong->setSizePolicy(keep);
    form->addRow(QString(), TooLong);
    auto *scaleLabel = new QLabel(tr("S&cale:"), this);
    scaleLabel->setBuddy(Scale);
    form->addRow(scaleLabel, Scale);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Only the radio buttons choose the length: Enter in the box (which reports its value
    // again) must never turn one pass into a minute.
    connect(Seconds, &QRadioButton::toggled, this, &TExportDialog::UpdateLength);
    connect(SecondsValue, &QSpinBox::valueChanged, this, &TExportDialog::UpdateLength);
    UpdateLength();
}

void TExportDialog::UpdateLength()
{
    SecondsValue->setEnabled(Seconds->isChecked());
    const bool tooLong =
        Seconds->isChecked() &&
        static_cast<std::uint64_t>(SecondsValue->value()) * 50 > MaxAnimationFrames;
    TooLong->setVisible(tooLong);
    OkButton->setEnabled(!tooLong);
}

QString ExportAnimationCommand(QWidget *parent, const std::string &program,
                               const QString &documentName, TFileDialogState &state)
{
    if (program.empty()) {
        Dialogs().MessageBox(
            parent, QCoreApplication::translate("ExportDialog", "Information"),
            QCoreApplication::translate("ExportDialog",
                                        "The document has no commands: there is nothing to "
                                        "export."),
            TMsgIcon::Information, TMsgButtons::Ok);
        return {};
    }
    state.Filter =
        QCoreApplication::translate("ExportDialog", "Animated GIF") + QStringLiteral("|*.gif");
    state.DefaultExt = QStringLiteral("gif");
    state.Title = QCoreApplication::translate("ExportDialog", "Export animation");
    // The document's name as a GIF, where the last one went, else beside the document.
    const QFileInfo document(documentName);
    const QString folder = !state.FileName.isEmpty() ? QFileInfo(state.FileName).absolutePath()
                           : document.path() != QStringLiteral(".") ? document.absolutePath()
                                                                    : state.InitialDir;
    state.FileName = QDir(folder).filePath(document.completeBaseName() + QStringLiteral(".gif"));
    if (!Dialogs().ExecuteSave(parent, state))
        return {};
    const QString name = state.FileName;
    if (QFileInfo::exists(name) &&
        Dialogs().MessageBox(
            parent, QCoreApplication::translate("ExportDialog", "Question"),
            QCoreApplication::translate("ExportDialog", "%1 exists\nOverwrite?").arg(name),
            TMsgIcon::Question, TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return {};
    TExportDialog dialog(parent);
    if (Dialogs().ExecuteForm(dialog) != QDialog::Accepted)
        return {};

    TAnimationExport options;
    options.Scale = dialog.Scale->value();
    options.Frames = dialog.OnePass->isChecked()
                         ? OnePassFrames(program, TPreviewDock::TimelineFrames)
                         : static_cast<std::uint64_t>(dialog.SecondsValue->value()) * 50;
    QProgressDialog progress(QCoreApplication::translate("ExportDialog", "Writing %1...")
                                 .arg(QFileInfo(name).fileName()),
                             QCoreApplication::translate("ExportDialog", "Cancel"), 0,
                             static_cast<int>(options.Frames), parent);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowTitle(QCoreApplication::translate("ExportDialog", "Export animation"));
    // Wide enough that the window manager shows the whole caption beside its buttons.
    QFont caption = progress.font();
    caption.setBold(true);
    progress.setMinimumWidth(
        QFontMetrics(caption).horizontalAdvance(progress.windowTitle()) * 3 / 2 + 160);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    options.Progress = [&](std::uint64_t done) {
        progress.setValue(static_cast<int>(std::min(done, options.Frames)));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    const TAnimationResult result =
        ExportAnimation(program, QFile::encodeName(name).toStdString(), options);
    progress.reset();
    if (!result.Ok && !result.Cancelled)
        ShowErrorBox(parent, QCoreApplication::translate("ExportDialog", "Cannot write %1: %2")
                                 .arg(name, QString::fromStdString(result.Error)));
    return result.Ok && !result.Cancelled ? name : QString();
}

} // namespace zor
