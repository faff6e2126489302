// What the live preview runs: a source of program text that says when it has changed. The
// preview knows no editor; the main window hands it the active document's source.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

class QTextDocument;

namespace zor {

// What the preview and the export run for a document: the program text, empty when the
// program cannot run (CanRun, commands/Translate.h) or has too many text segments, and whether
// the text segments were too many.
struct TPreviewProgram
{
    std::string Program;
    bool TooManySegments = false;
};
TPreviewProgram TranslateForPreview(const QTextDocument &document);
// TranslateForPreview's program text alone.
std::string PreviewProgram(const QTextDocument &document);

// A program that may change. Changed() is emitted on every change of what Program() would
// return (a keystroke's worth); the reader decides when to read it again.
class TProgramSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual TPreviewProgram Program() const = 0;

signals:
    void Changed();
};

// The program of a text document, translated when asked. Made a child of the document (the
// preview's source lives and dies with the document it reads); ProgramOf gives the one of a
// document, making it on first use.
class TDocumentProgram : public TProgramSource
{
    Q_OBJECT
public:
    // Null for a null document.
    static TDocumentProgram *ProgramOf(QTextDocument *document);
    TPreviewProgram Program() const override;

private:
    explicit TDocumentProgram(QTextDocument &document);
    QTextDocument &Document;
};

} // namespace zor
