// Printing a document on paper.
#pragma once

class QPrinter;
class QString;
class QTextDocument;
class QWidget;

namespace zor {

// Prints a copy of document over the whole printable area of printer, wrapping long lines
// (the editor never wraps, but paper has an edge). False when the printer reports an error or
// the job was aborted.
bool PrintDocument(const QTextDocument &document, QPrinter &printer);

// File > Print: runs the print dialog over parent and prints document as the job name; a failed
// job gets "Printing NAME failed.". Nothing happens when the operator cancels.
void PrintCommand(QWidget *parent, QPrinter &printer, const QTextDocument &document,
                  const QString &name);

} // namespace zor
