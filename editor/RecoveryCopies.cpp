#include "editor/RecoveryCopies.h"

#include "editor/Child.h"
#include "editor/DocumentManager.h"
#include "ui/Dialogs.h"
#include "ui/DocumentConversion.h"

#include <QFile>
#include <QStringList>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace zor {

namespace {

QString ShownName(bool untitled, const std::string &fileName)
{
    return untitled ? QLatin1String(UntitledName)
                    : QFile::decodeName(QByteArray::fromStdString(fileName));
}

} // namespace

TRecoveryCopies::TRecoveryCopies(TDocumentManager &manager, const QString &root,
                                 std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent), Manager(manager), Root(root), Store(QFile::encodeName(root).toStdString()),
      Delay(std::max(delay, std::chrono::milliseconds(1)))
{
    std::string error;
    if (!Store.Open(&error))
        std::fprintf(stderr, "zoredit: no recovery copies are kept: %s\n", error.c_str());
    connect(&Manager, &TDocumentManager::DocumentCreated, this, &TRecoveryCopies::Follow);
    for (TMDIChild *child : Manager.Documents()) {
        Follow(child);
        if (child->Editor->document()->isModified())
            Changed(child);
    }
}

TRecoveryCopies::~TRecoveryCopies() = default;

QString TRecoveryCopies::Folder() const
{
    return QFile::decodeName(QByteArray::fromStdString(Store.Folder()));
}

void TRecoveryCopies::Follow(TMDIChild *child)
{
    TEntry &entry = Entries[child];
    entry.Number = NextNumber++;
    entry.Timer = new QTimer(child);
    entry.Timer->setSingleShot(true);
    // A coarse timer may fire early; the copy is promised after the delay, never before.
    entry.Timer->setTimerType(Qt::PreciseTimer);
    connect(entry.Timer, &QTimer::timeout, this, [this, child] { WriteCopy(child); });
    QTextDocument *document = child->Editor->document();
    connect(document, &QTextDocument::contentsChanged, this, [this, child] { Changed(child); });
    // Saved, or undone back to what the file holds: the file is the copy now.
    connect(document, &QTextDocument::modificationChanged, this, [this, child](bool modified) {
        if (!modified)
            RemoveCopy(child);
    });
    connect(child, &TMDIChild::Closed, this, [this, child] { RemoveCopy(child); });
    connect(child, &QObject::destroyed, this, [this, child] { Entries.erase(child); });
}

void TRecoveryCopies::Changed(TMDIChild *child)
{
    auto it = Entries.find(child);
    if (it == Entries.end() || !IsActive())
        return;
    // Started by the first change not yet in a copy and never pushed back by the next ones:
    // steady typing still gets a copy every delay.
    if (!it->second.Timer->isActive())
        it->second.Timer->start(Delay);
}

void TRecoveryCopies::WriteCopy(TMDIChild *child)
{
    auto it = Entries.find(child);
    if (it == Entries.end() || !IsActive())
        return;
    TEntry &entry = it->second;
    entry.Timer->stop();
    const QTextDocument &document = *child->Editor->document();
    if (!document.isModified()) {
        RemoveCopy(child);
        return;
    }
    const std::string rtf = rtf::Write(DocumentFromText(document));
    std::string error;
    if (Store.Write(entry.Number, child->IsUntitled(),
                    QFile::encodeName(child->FileName).toStdString(), rtf, &error)) {
        entry.HasCopy = true;
        LastProblem.clear();
        return;
    }
    // Said once, not at every change, while the same problem lasts (a full disk).
    const QString problem = QString::fromStdString(error);
    if (problem != LastProblem)
        std::fprintf(stderr, "zoredit: the recovery copy of %s was not written: %s\n",
                     QFile::encodeName(child->FileName).constData(), error.c_str());
    LastProblem = problem;
}

void TRecoveryCopies::RemoveCopy(TMDIChild *child)
{
    auto it = Entries.find(child);
    if (it == Entries.end())
        return;
    it->second.Timer->stop();
    if (it->second.HasCopy)
        Store.Remove(it->second.Number);
    it->second.HasCopy = false;
}

void TRecoveryCopies::WriteAll()
{
    for (TMDIChild *child : Manager.Documents())
        if (child->Editor->document()->isModified())
            WriteCopy(child);
}

void TRecoveryCopies::Finish()
{
    for (auto &[child, entry] : Entries) {
        entry.Timer->stop();
        entry.HasCopy = false;
    }
    Store.Finish();
}

QList<TMDIChild *> TRecoveryCopies::OfferOrphans(QWidget *parent)
{
    QList<TMDIChild *> windows;
    TOrphanCopies orphans = TOrphanCopies::Claim(QFile::encodeName(Root).toStdString());
    if (!orphans.Damaged.empty()) {
        QStringList lines;
        for (const TDamagedCopy &d : orphans.Damaged) {
            QString reason = QString::fromStdString(d.Reason);
            while (reason.endsWith(QLatin1Char('.')))
                reason.chop(1);
            QString line = QStringLiteral("The recovery copy of %1 cannot be read: %2.\n")
                               .arg(ShownName(d.Untitled, d.FileName), reason);
            line += d.KeptAs.empty()
                        ? QStringLiteral("It was left in %1.").arg(Root)
                        : QStringLiteral("It was kept as %1.")
                              .arg(QFile::decodeName(QByteArray::fromStdString(d.KeptAs)));
            lines << line;
        }
        Dialogs().MessageBox(parent, QStringLiteral("ZorEdit"), lines.join(QStringLiteral("\n\n")),
                             TMsgIcon::Warning, TMsgButtons::Ok);
    }
    if (orphans.Copies.empty()) {
        // Folders of editors that ended with nothing unsaved.
        orphans.Discard();
        return windows;
    }
    QStringList names;
    // Untitled copies are numbered as their windows will be captioned.
    int untitled = 0;
    for (const TRecoveryCopy &copy : orphans.Copies)
        names << (copy.Untitled ? UntitledCaption(++untitled) : ShownName(false, copy.FileName));
    const TMsgAnswer answer =
        Dialogs().Ask(parent, QStringLiteral("ZorEdit"),
                      QStringLiteral("ZorEdit did not close properly. Recover the unsaved "
                                     "changes of\n") +
                          names.join(QLatin1Char('\n')) + QLatin1Char('?'),
                      TMsgIcon::Question, TMsgButtons::RecoverDiscard, TMsgAnswer::Yes);
    if (answer == TMsgAnswer::No) {
        orphans.Discard();
        return windows;
    }
    if (answer != TMsgAnswer::Yes)
        return windows;
    for (TRecoveryCopy &copy : orphans.Copies) {
        TMDIChild *child = Manager.CreateDocumentWindow(QLatin1String(UntitledName));
        if (!copy.Untitled)
            child->SetFileName(ShownName(false, copy.FileName));
        QTextDocument &document = *child->Editor->document();
        FillTextDocument(document, std::move(copy.Doc));
        child->Editor->MaxLength = copy.Untitled
                                       ? std::max(child->Editor->MaxLength, child->Editor->Length())
                                       : FileDocumentMaxLength;
        document.clearUndoRedoStacks();
        document.setModified(true);
        // Ours before the old folder goes, so that no moment passes without a copy.
        WriteCopy(child);
        windows << child;
    }
    // Without a folder of our own the old copies are the only ones: they stay until a start
    // that can keep them.
    if (IsActive())
        orphans.Discard();
    return windows;
}

} // namespace zor
