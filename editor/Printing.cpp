#include "editor/Printing.h"

#include <QAbstractTextDocumentLayout>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <memory>

namespace zor {

bool PrintDocument(const QTextDocument &document, QPrinter &printer)
{
    // The page is laid out over the whole printable area: the copy has no margins of its own.
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setDocumentMargin(0);
    QTextOption wrap = copy->defaultTextOption();
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(wrap);
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
    copy->print(&printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

} // namespace zor
