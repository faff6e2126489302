#include "sim/ProgramSource.h"

#include "commands/DocumentTranslation.h"
#include "ui/DocumentConversion.h"

#include <QTextDocument>

namespace zor {

TPreviewProgram TranslateForPreview(const QTextDocument &document)
{
    TTranslation t = TranslateDocument(DocumentFromText(document));
    if (t.TooManySegments())
        return {{}, true};
    if (!CanRun(t.Program))
        return {};
    return {std::move(t.Program), false};
}

std::string PreviewProgram(const QTextDocument &document)
{
    return TranslateForPreview(document).Program;
}

TDocumentProgram *TDocumentProgram::ProgramOf(QTextDocument *document)
{
    if (!document)
        return nullptr;
    if (auto *known =
            document->findChild<TDocumentProgram *>(QString(), Qt::FindDirectChildrenOnly))
        return known;
    return new TDocumentProgram(*document);
}

TDocumentProgram::TDocumentProgram(QTextDocument &document)
    : TProgramSource(&document), Document(document)
{
    connect(&document, &QTextDocument::contentsChanged, this, &TProgramSource::Changed);
}

TPreviewProgram TDocumentProgram::Program() const
{
    return TranslateForPreview(Document);
}

} // namespace zor
