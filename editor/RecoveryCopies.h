// The documents' side of the recovery copies (editor/Recovery.h): a modified document's copy is
// written at most a set delay after its first change not yet in a copy, removed when the document
// is saved (or undone back to its file) or closed without saving, and all of them at a clean
// exit. At start the copies of editors that did not close properly are offered once.
#pragma once

#include "editor/Recovery.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <unordered_map>

class QTimer;
class QWidget;

namespace zor {

class TDocumentManager;
class TMDIChild;

class TRecoveryCopies : public QObject
{
    Q_OBJECT
public:
    // Follows every document of manager (which must outlive this object), the open ones and
    // those created later. roots: where copies may be kept, best first (RecoveryFolders()); the
    // copies go to the first that can be written. When none can, nothing is kept (IsActive()
    // false), the operator is told in a message box (parent: a widget, or none) and the editor
    // works on. delay: the longest a change waits for its copy, at least 1 ms.
    TRecoveryCopies(TDocumentManager &manager, const QStringList &roots,
                    std::chrono::milliseconds delay, QObject *parent = nullptr);
    // Keeps the copies: only Finish() removes them.
    ~TRecoveryCopies() override;

    bool IsActive() const { return Store.IsOpen(); }
    // This editor's own folder of copies; empty when not active.
    QString Folder() const;
    // For the status bar while some unsaved change has no copy (no folder could be written, or
    // the last copy failed); empty while every copy is kept.
    QString Warning() const { return WarningText; }

    // Replaces how the copies' files are written (tests make it fail).
    void SetWriter(TRecoveryStore::TWriter writer) { Store.SetWriter(writer); }

    // The start-up offer, from every root: reports damaged copies (kept aside), then asks once
    // whether to recover the others, saying which copies are older than their documents and
    // where copies outside the first root were kept. Recover opens each in its own window,
    // modified, under its own file name
    // ("Untitled" for a new document), and keeps it in this editor's copies; Discard deletes them.
    // A box closed without an answer keeps them for the next start. Returns the new windows.
    QList<TMDIChild *> OfferOrphans(QWidget *parent);

    // Writes the copy of every modified document at once (the editor is being ended).
    void WriteAll();
    // A clean exit: every copy and this editor's folder go; nothing is written after.
    void Finish();

signals:
    // Warning() changed.
    void WarningChanged(const QString &text);

private:
    struct TEntry
    {
        unsigned Number = 0;
        QTimer *Timer = nullptr;
        bool HasCopy = false;
        // The document's file as it was when its first copy since the last save was begun.
        std::optional<TFileStamp> File;
    };
    void Follow(TMDIChild *child);
    void Changed(TMDIChild *child);
    void WriteCopy(TMDIChild *child);
    void RemoveCopy(TMDIChild *child);
    // Shows text in the status bar and, the first time only, in a message box.
    void Warn(const QString &text, const QString &details);
    void ClearWarning();

    TDocumentManager &Manager;
    QStringList Roots;
    TRecoveryStore Store;
    std::chrono::milliseconds Delay;
    unsigned NextNumber = 1;
    std::unordered_map<TMDIChild *, TEntry> Entries;
    QString LastProblem;
    QString WarningText;
    bool Warned = false;
};

} // namespace zor
