// Printing a document on paper.
#pragma once

class QPrinter;
class QTextDocument;

namespace zor {

// Prints a copy of document over the whole printable area of printer, wrapping long lines
// (the editor never wraps, but paper has an edge). False when the printer reports an error or
// the job was aborted.
bool PrintDocument(const QTextDocument &document, QPrinter &printer);

} // namespace zor
