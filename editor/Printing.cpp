#include "editor/Printing.h"

#include "ui/Dialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
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
    // Print to file proposes the document's name; a name the operator chose stays.
    static QString proposed;
    if (printer.outputFileName().isEmpty() || printer.outputFileName() == proposed) {
        const QFileInfo file(name);
        proposed =
            QDir(file.path() == QStringLiteral(".") ? QDir::currentPath() : file.absolutePath())
                .filePath(file.completeBaseName() + QStringLiteral(".pdf"));
        if (printer.outputFormat() == QPrinter::PdfFormat)
            printer.setOutputFileName(proposed);
    }
    // Paper is handled at its edge: never print closer to it than the usual margin.
    constexpr qreal MinimumMarginMm = 10;
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    printer.setPageMargins(QMarginsF(std::max(margins.left(), MinimumMarginMm),
                                     std::max(margins.top(), MinimumMarginMm),
                                     std::max(margins.right(), MinimumMarginMm),
                                     std::max(margins.bottom(), MinimumMarginMm)),
                           QPageLayout::Millimeter);
    if (!Dialogs().ExecutePrint(parent, printer))
        return;
    printer.setDocName(name);
    if (!PrintDocument(document, printer))
        ShowErrorBox(parent,
                     QCoreApplication::translate("Printing", "Printing %1 failed.").arg(name));
}

} // namespace zor
