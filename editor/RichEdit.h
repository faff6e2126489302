// The document editor: a rich-text edit that keeps command symbols whole and refuses text past its
// length limit, and the document's characters as the unit rules see them.
#pragma once

#include "editor/UnitRules.h"
#include <QTextEdit>
#include <functional>

namespace zor {

// Clipboard format of the documents' own rich text.
inline constexpr const char *RtfMimeType = "text/rtf";

// Most characters a new document may hold.
inline constexpr qint64 NewDocumentMaxLength = 16384;
// Most characters of a document filled from a file (or from the recovery copy of one): the
// rich-edit control's own ceiling, hexadecimal 7FFFFFF0, so in effect no limit.
inline constexpr qint64 FileDocumentMaxLength = 2147483632;

// The document editor: a rich-text edit with a length limit that refuses, rather than cuts,
// text that would pass it.
class TRichEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit TRichEdit(QWidget *parent = nullptr);

    // Most characters the document may hold; paragraph ends count one each.
    qint64 MaxLength = NewDocumentMaxLength;
    qint64 Length() const;

    // Runs before a key takes its ordinary effect; returning true consumes the key.
    std::function<bool(QKeyEvent *)> KeyDown;
    // Maps the format typed or pasted text would take to the one it gets (the document window
    // turns a symbol's format into the remembered plain-text font).
    std::function<QTextCharFormat(const QTextCharFormat &)> TypingFormat;

    // Types text at the caret as a key does: over the selection, or over the next character in
    // overwrite mode; refused (with a beep) past MaxLength.
    void TypeText(const QString &text);
    // Replaces the ordinary paste of clipboard data (the program keeps units whole).
    std::function<void(const QMimeData *)> PasteHandler;

    // Whether inserting this many characters in place of the selection stays within MaxLength.
    bool Fits(qint64 inserted) const;

    // Inserts clipboard data at the caret: our own RTF when it is there (fonts, charsets and
    // exact colours survive), else what QTextEdit makes of the data.
    void InsertClipboardData(const QMimeData *source);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
};

// The document's characters for the unit rules.
class TDocumentUnits : public TUnitText
{
public:
    explicit TDocumentUnits(const QTextDocument &document) : Document(document) {}
    int Length() const override;
    bool Tagged(int pos) const override;
    bool Digit(int pos) const override;

private:
    const QTextDocument &Document;
};

// Puts a selection (or a caret, for length 0) into the editor.
void SelectRange(QTextEdit &editor, TSelection selection);

} // namespace zor
