#include "editor/Printing.h"

#include "ui/Dialogs.h"

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

void PrintCommand(QWidget *parent, QPrinter &printer, const QTextDocument &document,
                  const QString &name)
{
    if (!Dialogs().ExecutePrint(parent, printer))
        return;
    printer.setDocName(name);
    if (!PrintDocument(document, printer))
        ShowErrorBox(parent, QStringLiteral("Printing %1 failed.").arg(name));
}

} // namespace zor
