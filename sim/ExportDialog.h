// The Export animation command, which writes the same GIF as `zor simulate --gif`, and its dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zor {

struct TFileDialogState;

// Length and scale of an exported animation. The seconds box counts only while Seconds is
// chosen; a length over MaxAnimationFrames shows AnimationTooLong and OK stays greyed.
class TExportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TExportDialog(QWidget *parent = nullptr);
    QRadioButton *OnePass = nullptr, *Seconds = nullptr;
    QSpinBox *SecondsValue = nullptr, *Scale = nullptr;
    QLabel *TooLong = nullptr;
    QPushButton *OkButton = nullptr;

private:
    void UpdateLength();
};

// Zor > Export animation: asks for a *.gif name, proposed from documentName (NAME.gif, in the
// folder of the last export, else the document's), then the length and scale, and writes the
// program's animation with a progress bar. Failures are reported with a message box; nothing
// is written when the operator cancels. Returns the name of the file written, or empty.
QString ExportAnimationCommand(QWidget *parent, const std::string &program,
                               const QString &documentName, TFileDialogState &state);

} // namespace zor
