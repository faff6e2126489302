// The reading and writing of document files into and out of the editor's QTextDocument, through
// the RTF codec and the document conversion.
#pragma once

#include "ui/DocumentConversion.h"

#include <QString>

class QTextDocument;

namespace zor {

// Reads a document file into text. RTF is decoded, anything else read as plain text. False with
// a message for the operator in *error when the file cannot be read or its RTF is refused; text
// is then left empty. True with a message in *warning (when given) when the file was read with
// something amiss (it ends before its last RTF group closes); text holds what was there.
bool LoadDocumentFile(const QString &path, QTextDocument &text, QString *error,
                      QString *warning = nullptr);

// Writes text to path as RTF, atomically: the previous file stays untouched when writing fails.
bool SaveDocumentFile(const QString &path, const QTextDocument &text, QString *error);

} // namespace zor
