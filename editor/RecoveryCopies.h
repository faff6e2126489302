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
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QWidget;

namespace zor {

class TDocumentManager;
class TMDIChild;

// What holds a document's copy back for the delay: a timer that calls back once. The editor's
// runs on the event loop; tests put in their own and move time on themselves.
class TCopyTimer
{
public:
    virtual ~TCopyTimer() = default;
    // Calls back delay from now (never before), once; restarts a running timer.
    virtual void Start(std::chrono::milliseconds delay) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};
// Makes the timer of one document; expired is what it calls back.
using TCopyTimerMaker = std::function<std::unique_ptr<TCopyTimer>(std::function<void()> expired)>;

class TRecoveryCopies : public QObject
{
    Q_OBJECT
public:
    // Follows every document of manager (which must outlive this object), the open ones and
    // those created later. roots: where copies may be kept, best first (RecoveryFolders()). Of
    // two or more, the last is the temporary folder, and a titled document's copy may lie beside
    // it before that one (BesideFolder()). Each copy goes to the first place that can be written
    // at that moment, so a folder that fills up or turns read-only sends the next copy on, and
    // the older one elsewhere goes. When no folder can be written at start and there is no
    // place beside documents either, nothing is kept (IsActive() false), the operator is told in
    // a message box (parent: a widget, or none) and the editor works on. delay: the longest a
    // change waits for its copy, at least 1 ms.
    TRecoveryCopies(TDocumentManager &manager, const QStringList &roots,
                    std::chrono::milliseconds delay, QObject *parent = nullptr);
    // Keeps the copies: only Finish() removes them.
    ~TRecoveryCopies() override;

    // Some folder of roots holds this editor's own folder of copies.
    bool IsActive() const;
    // This editor's own folder of copies in the best root that could be written; empty when not
    // active.
    QString Folder() const;
    // The hidden recovery folder beside a document's file: .NAME.zoredit-recovery in its folder.
    static QString BesideFolder(const QString &fileName);
    // For the status bar while some unsaved change has no copy (no folder could be written, or
    // the last copy failed); empty while every copy is kept.
    QString Warning() const { return WarningText; }

    // Replaces how the copies' files are written (tests make it fail).
    void SetWriter(TRecoveryStore::TWriter writer);
    // Replaces the documents' timers (a delay already running starts again on the new ones).
    void SetTimers(TCopyTimerMaker maker);

    // The start-up offer, from every root and from beside each of documents (the files the
    // editor worked on: its recent files): reports damaged copies (kept aside), then asks once
    // whether to recover the others, saying which copies are older than their documents and
    // where copies outside the first root were kept. Recover opens each in its own window,
    // modified, under its own file name
    // ("Untitled" for a new document), and keeps it in this editor's copies; Discard deletes them.
    // A box closed without an answer keeps them for the next start. Returns the new windows.
    QList<TMDIChild *> OfferOrphans(QWidget *parent, const QStringList &documents = {});

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
        std::unique_ptr<TCopyTimer> Timer;
        bool HasCopy = false;
        int Place = -1; // where the copy lies (PlaceCount()), while HasCopy
        // The copy's place beside the document's file, while it is used.
        std::unique_ptr<TRecoveryStore> Beside;
        // The document's file as it was when its first copy since the last save was begun.
        std::optional<TFileStamp> File;
    };
    void Follow(TMDIChild *child);
    void Changed(TMDIChild *child);
    void WriteCopy(TMDIChild *child);
    void RemoveCopy(TMDIChild *child);
    // Places, best first: the roots, with the one beside the document at BesideAt.
    int PlaceCount() const;
    // The store of place for child, opened; null with the reason in *error when it cannot be.
    TRecoveryStore *OpenPlace(TEntry &entry, const TMDIChild *child, int place, std::string *error);
    // Removes entry's copy from place (a place beside the document goes altogether).
    void DropCopy(TEntry &entry, int place);
    static void DropBeside(TEntry &entry);
    // Shows text in the status bar and, the first time only, in a message box.
    void Warn(const QString &text, const QString &details);
    void ClearWarning();

    TDocumentManager &Manager;
    QStringList Roots;
    std::vector<std::unique_ptr<TRecoveryStore>> Stores; // one per root
    int BesideAt = -1;
    TRecoveryStore::TWriter Writer;
    std::chrono::milliseconds Delay;
    TCopyTimerMaker Timers;
    unsigned NextNumber = 1;
    std::unordered_map<TMDIChild *, TEntry> Entries;
    QString LastProblem;
    QString WarningText;
    bool Warned = false;
};

} // namespace zor
