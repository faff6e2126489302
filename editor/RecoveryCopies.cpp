#include "editor/RecoveryCopies.h"

#include "editor/Child.h"
#include "editor/DocumentManager.h"
#include "ui/Dialogs.h"
#include "ui/DocumentConversion.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace zor {

namespace {

std::string Encoded(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString Decoded(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString ShownName(bool untitled, const std::string &fileName)
{
    return untitled ? QLatin1String(UntitledName) : Decoded(fileName);
}

} // namespace

TRecoveryCopies::TRecoveryCopies(TDocumentManager &manager, const QStringList &roots,
                                 std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent), Manager(manager), Roots(roots), Store(std::string()),
      Delay(std::max(delay, std::chrono::milliseconds(1)))
{
    QStringList problems;
    for (const QString &root : Roots) {
        std::string error;
        Store.SetRoot(Encoded(root));
        if (Store.Open(&error))
            break;
        problems << QString::fromStdString(error);
    }
    if (IsActive() && !problems.isEmpty())
        std::fprintf(stderr, "zoredit: recovery copies are kept in %s: %s\n",
                     Store.Folder().c_str(),
                     problems.join(QStringLiteral("; ")).toLocal8Bit().constData());
    if (!IsActive()) {
        if (problems.isEmpty())
            problems << tr("no recovery folder");
        std::fprintf(stderr, "zoredit: no recovery copies are kept: %s\n",
                     problems.join(QStringLiteral("; ")).toLocal8Bit().constData());
        Warn(tr("No recovery copies are kept"),
             tr("No recovery copies can be kept: %1.\nUnsaved changes are lost if ZorEdit does "
                "not close properly: save your documents often.")
                 .arg(problems.join(QStringLiteral("; "))));
    }
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
    return Decoded(Store.Folder());
}

void TRecoveryCopies::Warn(const QString &text, const QString &details)
{
    if (WarningText != text) {
        WarningText = text;
        emit WarningChanged(WarningText);
    }
    // Once per run: a full disk fails every copy after, and a box at each would stop the work.
    if (Warned)
        return;
    Warned = true;
    // From the event loop: an editor being ended by a signal writes its copies and is gone
    // before the box could wait for an answer nobody gives.
    QTimer::singleShot(0, this, [this, details] {
        Dialogs().MessageBox(qobject_cast<QWidget *>(parent()), QStringLiteral("ZorEdit"), details,
                             TMsgIcon::Warning, TMsgButtons::Ok);
    });
}

void TRecoveryCopies::ClearWarning()
{
    if (WarningText.isEmpty())
        return;
    WarningText.clear();
    emit WarningChanged(WarningText);
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
    const std::string fileName = Encoded(child->FileName);
    // From the first copy on, not from each: a file changed on disk between two copies is
    // still found changed when the document is recovered.
    if (!child->IsUntitled() && !entry.File)
        entry.File = StampOf(fileName);
    std::string error;
    if (Store.Write(entry.Number, child->IsUntitled(), fileName, rtf, &error,
                    entry.File ? &*entry.File : nullptr)) {
        entry.HasCopy = true;
        LastProblem.clear();
        ClearWarning();
        return;
    }
    // Said once, not at every change, while the same problem lasts (a full disk).
    const QString problem = QString::fromStdString(error);
    if (problem != LastProblem)
        std::fprintf(stderr, "zoredit: the recovery copy of %s was not written: %s\n",
                     QFile::encodeName(child->FileName).constData(), error.c_str());
    LastProblem = problem;
    QString reason = problem;
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    Warn(tr("Recovery copies cannot be written"),
         tr("The recovery copy of %1 cannot be written: %2.\nUnsaved changes are lost if ZorEdit "
            "does not close properly: save your documents often.")
             .arg(child->FileName, reason));
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
    it->second.File.reset();
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
    // Every root, the fallbacks too: copies kept there when the first could not be written are
    // found however the folders fare today.
    std::vector<TOrphanCopies> found;
    std::vector<const TRecoveryCopy *> copies;
    QStringList elsewhere;
    for (const QString &root : Roots) {
        found.push_back(TOrphanCopies::Claim(Encoded(root)));
        if (&root != &Roots.front() && !found.back().Copies.empty())
            elsewhere << root;
    }
    QStringList lines;
    for (std::size_t i = 0; i < found.size(); ++i)
        for (const TDamagedCopy &d : found[i].Damaged) {
            QString reason = QString::fromStdString(d.Reason);
            while (reason.endsWith(QLatin1Char('.')))
                reason.chop(1);
            QString line = QStringLiteral("The recovery copy of %1 cannot be read: %2.\n")
                               .arg(ShownName(d.Untitled, d.FileName), reason);
            line += d.KeptAs.empty() ? QStringLiteral("It was left in %1.").arg(Roots[int(i)])
                                     : QStringLiteral("It was kept as %1.").arg(Decoded(d.KeptAs));
            lines << line;
        }
    if (!lines.empty())
        Dialogs().MessageBox(parent, QStringLiteral("ZorEdit"), lines.join(QStringLiteral("\n\n")),
                             TMsgIcon::Warning, TMsgButtons::Ok);
    QStringList names;
    // Untitled copies are numbered as their windows will be captioned.
    int untitled = 0;
    for (const TOrphanCopies &orphans : found)
        for (const TRecoveryCopy &copy : orphans.Copies) {
            QString name =
                copy.Untitled ? UntitledCaption(++untitled) : ShownName(false, copy.FileName);
            // Later changes could not be kept (a full disk): the operator gets what was kept,
            // and is told how old it is.
            if (copy.Stale)
                name = tr("%1 (the copy is from %2)")
                           .arg(name, QDateTime::fromSecsSinceEpoch(copy.WrittenAt)
                                          .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
            names << name;
        }
    if (names.empty()) {
        // Folders of editors that ended with nothing unsaved.
        for (TOrphanCopies &orphans : found)
            orphans.Discard();
        return windows;
    }
    QString question = QStringLiteral("ZorEdit did not close properly. Recover the unsaved "
                                      "changes of\n") +
                       names.join(QLatin1Char('\n')) + QLatin1Char('?');
    if (!elsewhere.empty())
        question +=
            QLatin1String("\n\n") + tr("%1 could not be written; the copies were kept in %2.")
                                        .arg(Roots.front(), elsewhere.join(QStringLiteral(", ")));
    const TMsgAnswer answer =
        Dialogs().Ask(parent, QStringLiteral("ZorEdit"), question, TMsgIcon::Question,
                      TMsgButtons::RecoverDiscard, TMsgAnswer::Yes);
    if (answer == TMsgAnswer::No) {
        for (TOrphanCopies &orphans : found)
            orphans.Discard();
        return windows;
    }
    if (answer != TMsgAnswer::Yes)
        return windows;
    for (TOrphanCopies &orphans : found)
        for (TRecoveryCopy &copy : orphans.Copies) {
            TMDIChild *child = Manager.CreateDocumentWindow(QLatin1String(UntitledName));
            if (!copy.Untitled)
                child->SetFileName(ShownName(false, copy.FileName));
            QTextDocument &document = *child->Editor->document();
            FillTextDocument(document, std::move(copy.Doc));
            child->Editor->MaxLength =
                copy.Untitled ? std::max(child->Editor->MaxLength, child->Editor->Length())
                              : FileDocumentMaxLength;
            document.clearUndoRedoStacks();
            document.setModified(true);
            if (copy.HasFile) {
                Entries[child].File = copy.File;
                child->FileChangedSince = [path = copy.FileName, was = copy.File] {
                    return StampOf(path) != was;
                };
            }
            // Ours before the old folder goes, so that no moment passes without a copy.
            WriteCopy(child);
            windows << child;
        }
    // Without a folder of our own the old copies are the only ones: they stay until a start
    // that can keep them.
    if (IsActive())
        for (TOrphanCopies &orphans : found)
            orphans.Discard();
    return windows;
}

} // namespace zor
