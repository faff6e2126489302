#include "comm/forms/LogView.h"

#include "base/BoundedRead.h"
#include "ui/MessageText.h"

#include <cerrno>

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

namespace zor {

int FailingLogLine(const QStringList &lines)
{
    for (int i = lines.size() - 1; i >= 0; --i) {
        const QString &line = lines[i];
        if (line.contains(QLatin1String("error!!!!")) ||
            line.contains(QLatin1String("cancel"), Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QStringList LogLines(const QByteArray &text)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        qsizetype length = end - start;
        if (length > 0 && text[end - 1] == '\r')
            --length;
        // The log is ASCII; Latin-1 shows any stray byte as one character instead of failing.
        lines << QString::fromLatin1(text.constData() + start, length);
        start = next;
    }
    return lines;
}

TLogView::TLogView(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("LogView"));
    setWindowTitle(tr("Transfer log"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(640, 400);
    auto *layout = new QVBoxLayout(this);
    auto *choice = new QHBoxLayout;
    LogLabel = new QLabel(tr("&Log of:"), this);
    LogChoice = new QComboBox(this);
    LogChoice->setObjectName(QStringLiteral("LogChoice"));
    LogChoice->setAccessibleName(tr("Log of"));
    LogChoice->setToolTip(tr("The port of Parameters or a named panel"));
    LogChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    LogLabel->setBuddy(LogChoice);
    choice->addWidget(LogLabel);
    choice->addWidget(LogChoice);
    choice->addStretch();
    layout->addLayout(choice);
    LogLabel->hide();
    LogChoice->hide();
    connect(LogChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            LoadLog(LogChoice->itemData(index).toString());
    });
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Status);
    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setReadOnly(true);
    // A frame's bytes on one line are easier to compare unwrapped, column under column.
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text->setAccessibleName(tr("Transfer log"));
    layout->addWidget(Text);
}

void TLogView::SetLogs(const QList<TLog> &logs, int current)
{
    {
        const QSignalBlocker block(LogChoice);
        LogChoice->clear();
        for (const TLog &log : logs) {
            LogChoice->addItem(log.Label, log.Path);
            LogChoice->setItemData(LogChoice->count() - 1, log.Path, Qt::ToolTipRole);
        }
        LogChoice->setCurrentIndex(current);
    }
    LogLabel->setVisible(logs.size() > 1);
    LogChoice->setVisible(logs.size() > 1);
    if (current >= 0 && current < logs.size())
        LoadLog(logs[current].Path);
}

int TLogView::CurrentLog() const
{
    return LogChoice->currentIndex();
}

bool TLogView::LoadLog(const QString &path)
{
    HighlightedLine = -1;
    Text->clear();
    Text->setExtraSelections({});
    // Read only as a regular file and within bounds: a FIFO would hold the editor until some
    // program wrote into it, and /dev/zero would fill its memory.
    std::string bytes;
    const TFileRead read =
        ReadFileBounded(QFile::encodeName(path).toStdString(), MaxLogBytes, &bytes);
    QString problem;
    if (read.Status == TFileReadStatus::CannotOpen && read.Errno == ENOENT)
        problem = tr("There is no transfer log at %1 yet.").arg(path);
    else if (read.Status == TFileReadStatus::TooLarge)
        problem = tr("%1 is too large to be a transfer log.").arg(path);
    else if (read.Status == TFileReadStatus::NotRegular && read.Errno == 0)
        problem = tr("%1 is not a regular file (a device, a FIFO or a socket): "
                     "there is no log in it to show.")
                      .arg(path);
    else if (!read.Ok())
        problem = tr("%1 cannot be read: %2").arg(path, MessageText(read.Message()));
    if (!problem.isEmpty()) {
        Status->setText(problem);
        return false;
    }
    const QFileInfo info(path);
    const QStringList lines =
        LogLines(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    Text->setPlainText(lines.join(QLatin1Char('\n')));
    HighlightedLine = FailingLogLine(lines);
    // Read by a person, so written the way their language writes dates; the log itself keeps its
    // own format.
    const QString when = info.lastModified().toString(
        tr("yyyy-MM-dd HH:mm:ss", "date and time format of QDateTime::toString"));
    if (HighlightedLine < 0) {
        Status->setText(tr("%1, written %2").arg(path, when));
        return true;
    }
    Status->setText(tr("%1, written %2; the transfer stopped at line %3")
                        .arg(path, when, QString::number(HighlightedLine + 1)));
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(Text->document()->findBlockByNumber(HighlightedLine));
    mark.format.setBackground(QColor(255, 200, 200));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    Text->setExtraSelections({mark});
    Text->setTextCursor(mark.cursor);
    Text->ensureCursorVisible();
    return true;
}

} // namespace zor
