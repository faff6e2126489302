#include "editor/DocumentIO.h"

#include "base/AtomicFile.h"
#include "editor/rtf/DocumentFile.h"
#include "ui/MessageText.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextDocument>

namespace zor {

bool LoadDocumentFile(const QString &path, QTextDocument &text, QString *error, QString *warning)
{
    rtf::DocumentFile file = rtf::ReadDocumentFile(QFile::encodeName(path).toStdString());
    if (!file.Ok()) {
        // The reader's reason in the operator's language; the file's own as the system gave it.
        const QString reason =
            file.File.Ok() && !file.ErrorSource.empty()
                ? QCoreApplication::translate("RtfReader", std::string(file.ErrorSource).c_str())
                      .arg(file.ErrorNumber)
            : file.File.Ok() ? QString::fromStdString(file.Reason())
                             : MessageText(file.File.Message());
        switch (file.File.Status) {
        case TFileReadStatus::Ok: // read, but its RTF refused
            *error = QCoreApplication::translate("DocumentIO", "Cannot read file %1. %2")
                         .arg(path, reason);
            break;
        case TFileReadStatus::TooLarge:
            *error = QCoreApplication::translate(
                         "DocumentIO", "Cannot read file %1. It is too large for a document.")
                         .arg(path);
            break;
        case TFileReadStatus::ReadFailed:
            *error = QCoreApplication::translate("DocumentIO", "Cannot read file %1. %2")
                         .arg(path, reason);
            break;
        default:
            *error = QCoreApplication::translate("DocumentIO", "Cannot open file %1. %2")
                         .arg(path, reason);
            break;
        }
        text.clear();
        return false;
    }
    if (warning && !file.Warning.empty())
        *warning = QCoreApplication::translate("DocumentIO", "File %1: %2")
                       .arg(path, QCoreApplication::translate("RtfReader", file.Warning.c_str()));
    FillTextDocument(text, std::move(file.Doc));
    return true;
}

bool SaveDocumentFile(const QString &path, const QTextDocument &text, QString *error)
{
    const std::string bytes = rtf::Write(DocumentFromText(text));
    // The operator reads the system's own words for why, whichever step failed: a full disk
    // says "No space left on device".
    TWriteFailure failure;
    if (WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes, &failure))
        return true;
    const QString reason = MessageText(failure.Because);
    *error = failure.Created
                 ? QCoreApplication::translate("DocumentIO", "Cannot write file %1. %2")
                       .arg(path, reason)
                 : QCoreApplication::translate("DocumentIO", "Cannot create file %1. %2")
                       .arg(path, reason);
    return false;
}

} // namespace zor
