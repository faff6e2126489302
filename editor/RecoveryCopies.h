// The documents' side of the recovery copies (editor/Recovery.h): a modified document's copy is
// written at most a set delay after its first change not yet in a copy, removed when the document
// is saved (or undone back to its file) or closed without saving, and all of them at a clean
// exit. At start the copies of editors that did not close properly are offered once.
#pragma once

#include "editor/Recovery.h"

#include <QList>
#include <QObject>
#include <QString>
#include <chrono>
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
    // those created later. root: the recovery folder; when it cannot be made nothing is kept
    // (IsActive() false) and the editor works on. delay: the longest a change waits for its
    // copy, at least 1 ms.
    TRecoveryCopies(TDocumentManager &manager, const QString &root, std::chrono::milliseconds delay,
                    QObject *parent = nullptr);
    // Keeps the copies: only Finish() removes them.
    ~TRecoveryCopies() override;

    bool IsActive() const { return Store.IsOpen(); }
    // This editor's own folder of copies; empty when not active.
    QString Folder() const;

    // The start-up offer: reports damaged copies (kept aside), then asks once whether to recover
    // the others. Recover opens each in its own window, modified, under its own file name
    // ("Untitled" for a new document), and keeps it in this editor's copies; Discard deletes them.
    // A box closed without an answer keeps them for the next start. Returns the new windows.
    QList<TMDIChild *> OfferOrphans(QWidget *parent);

    // Writes the copy of every modified document at once (the editor is being ended).
    void WriteAll();
    // A clean exit: every copy and this editor's folder go; nothing is written after.
    void Finish();

private:
    struct TEntry
    {
        unsigned Number = 0;
        QTimer *Timer = nullptr;
        bool HasCopy = false;
    };
    void Follow(TMDIChild *child);
    void Changed(TMDIChild *child);
    void WriteCopy(TMDIChild *child);
    void RemoveCopy(TMDIChild *child);

    TDocumentManager &Manager;
    QString Root;
    TRecoveryStore Store;
    std::chrono::milliseconds Delay;
    unsigned NextNumber = 1;
    std::unordered_map<TMDIChild *, TEntry> Entries;
    QString LastProblem;
};

} // namespace zor
