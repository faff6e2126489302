#include "editor/RecoveryCopies.h"

#include "editor/Child.h"
#include "editor/DocumentManager.h"
#include "ui/Dialogs.h"
#include "ui/DocumentConversion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

class TEventLoopTimer final : public TCopyTimer
{
public:
    explicit TEventLoopTimer(std::function<void()> expired)
    {
        Timer.setSingleShot(true);
        // A coarse timer may fire early; the copy is promised after the delay, never before.
        Timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&Timer, &QTimer::timeout, std::move(expired));
    }
    void Start(std::chrono::milliseconds delay) override { Timer.start(delay); }
    void Stop() override { Timer.stop(); }
    bool IsActive() const override { return Timer.isActive(); }

private:
    QTimer Timer;
};

} // namespace

TRecoveryCopies::TRecoveryCopies(TDocumentManager &manager, const QStringList &roots,
                                 std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent), Manager(manager), Roots(roots),
      Delay(std::max(delay, std::chrono::milliseconds(1))),
      Timers([](std::function<void()> expired) {
          return std::make_unique<TEventLoopTimer>(std::move(expired));
      })
{
    // The temporary folder comes last: a document's own folder is kept better than that.
    if (Roots.size() >= 2)
        BesideAt = int(Roots.size()) - 1;
    QStringList problems;
    for (const QString &root : Roots)
        Stores.push_back(std::make_unique<TRecoveryStore>(Encoded(root)));
    for (const auto &store : Stores) {
        std::string error;
        if (store->Open(&error))
            break;
        problems << QString::fromStdString(error);
    }
    if (!problems.isEmpty() && (IsActive() || BesideAt >= 0))
        std::fprintf(stderr, "zoredit: recovery copies are kept in %s: %s\n",
                     IsActive() ? Encoded(Folder()).c_str() : "the documents' folders",
                     problems.join(QStringLiteral("; ")).toLocal8Bit().constData());
    if (!IsActive() && BesideAt < 0) {
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

bool TRecoveryCopies::IsActive() const
{
    return std::any_of(Stores.begin(), Stores.end(), [](const auto &s) { return s->IsOpen(); });
}

QString TRecoveryCopies::Folder() const
{
    for (const auto &store : Stores)
        if (store->IsOpen())
            return Decoded(store->Folder());
    return {};
}

QString TRecoveryCopies::BesideFolder(const QString &fileName)
{
    const QFileInfo file(fileName);
    return file.absolutePath() + QStringLiteral("/.") + file.fileName() +
           QStringLiteral(".zoredit-recovery");
}

void TRecoveryCopies::SetTimers(TCopyTimerMaker maker)
{
    Timers = std::move(maker);
    for (auto &[child, entry] : Entries) {
        const bool running = entry.Timer->IsActive();
        entry.Timer = Timers([this, child = child] { WriteCopy(child); });
        if (running)
            entry.Timer->Start(Delay);
    }
}

void TRecoveryCopies::SetWriter(TRecoveryStore::TWriter writer)
{
    Writer = std::move(writer);
    for (const auto &store : Stores)
        store->SetWriter(Writer);
    for (auto &[child, entry] : Entries)
        if (entry.Beside)
            entry.Beside->SetWriter(Writer);
}

int TRecoveryCopies::PlaceCount() const
{
    return int(Stores.size()) + (BesideAt >= 0 ? 1 : 0);
}

TRecoveryStore *TRecoveryCopies::OpenPlace(TEntry &entry, const TMDIChild *child, int place,
                                           std::string *error)
{
    error->clear();
    if (place == BesideAt) {
        // An untitled document has no folder of its own.
        if (child->IsUntitled())
            return nullptr;
        if (!entry.Beside) {
            entry.Beside = std::make_unique<TRecoveryStore>(Encoded(BesideFolder(child->FileName)));
            if (Writer)
                entry.Beside->SetWriter(Writer);
        }
        if (entry.Beside->Open(error))
            return entry.Beside.get();
        DropBeside(entry);
        return nullptr;
    }
    TRecoveryStore &store = *Stores[std::size_t(place - (BesideAt >= 0 && place > BesideAt))];
    return store.Open(error) ? &store : nullptr;
}

void TRecoveryCopies::DropBeside(TEntry &entry)
{
    if (!entry.Beside)
        return;
    // Nothing is left in the document's folder: the hidden folder goes with its last copy.
    entry.Beside->Finish();
    QDir().rmdir(Decoded(entry.Beside->RootFolder()));
    entry.Beside.reset();
}

void TRecoveryCopies::DropCopy(TEntry &entry, int place)
{
    if (place == BesideAt)
        DropBeside(entry);
    else if (place >= 0 && place < PlaceCount())
        Stores[std::size_t(place - (BesideAt >= 0 && place > BesideAt))]->Remove(entry.Number);
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
    entry.Timer = Timers([this, child] { WriteCopy(child); });
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
    if (it == Entries.end() || (!IsActive() && BesideAt < 0))
        return;
    // Started by the first change not yet in a copy and never pushed back by the next ones:
    // steady typing still gets a copy every delay.
    if (!it->second.Timer->IsActive())
        it->second.Timer->Start(Delay);
}

void TRecoveryCopies::WriteCopy(TMDIChild *child)
{
    auto it = Entries.find(child);
    if (it == Entries.end() || (!IsActive() && BesideAt < 0))
        return;
    TEntry &entry = it->second;
    entry.Timer->Stop();
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
    // The best place that takes it, tried afresh each time: a folder that filled up sends the
    // copy on, and one that can be written again has it back.
    std::string error;
    for (int place = 0; place < PlaceCount(); ++place) {
        std::string problem;
        TRecoveryStore *store = OpenPlace(entry, child, place, &problem);
        if (store && store->Write(entry.Number, child->IsUntitled(), fileName, rtf, &problem,
                                  entry.File ? &*entry.File : nullptr)) {
            // One copy per document: the older one elsewhere would be offered beside it.
            if (entry.HasCopy && entry.Place != place)
                DropCopy(entry, entry.Place);
            entry.HasCopy = true;
            entry.Place = place;
            LastProblem.clear();
            ClearWarning();
            return;
        }
        // A place beside the document that holds no copy of it leaves nothing there.
        if (store && place == BesideAt && !(entry.HasCopy && entry.Place == place))
            DropBeside(entry);
        if (error.empty())
            error = problem;
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
    it->second.Timer->Stop();
    if (it->second.HasCopy)
        DropCopy(it->second, it->second.Place);
    DropBeside(it->second);
    it->second.HasCopy = false;
    it->second.Place = -1;
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
        entry.Timer->Stop();
        entry.HasCopy = false;
        DropBeside(entry);
    }
    for (const auto &store : Stores)
        store->Finish();
}

QList<TMDIChild *> TRecoveryCopies::OfferOrphans(QWidget *parent, const QStringList &documents)
{
    QList<TMDIChild *> windows;
    // Every root, the fallbacks too: copies kept there when the first could not be written are
    // found however the folders fare today. In the order the copies are placed in.
    QStringList places;
    QStringList beside;
    for (int i = 0; i < int(Roots.size()); ++i) {
        if (i == BesideAt)
            for (const QString &document : documents)
                if (const QString folder = BesideFolder(document);
                    !places.contains(folder) && QFileInfo(folder).isDir())
                    places << folder, beside << folder;
        places << Roots[i];
    }
    std::vector<TOrphanCopies> found;
    QStringList elsewhere;
    for (const QString &place : places) {
        found.push_back(TOrphanCopies::Claim(Encoded(place)));
        if (&place != &places.front() && !found.back().Copies.empty())
            elsewhere << place;
    }
    // The hidden folders beside documents go once they hold nothing.
    auto removeEmptyBeside = [&beside] {
        for (const QString &folder : beside)
            QDir().rmdir(folder);
    };
    QStringList lines;
    for (std::size_t i = 0; i < found.size(); ++i)
        for (const TDamagedCopy &d : found[i].Damaged) {
            QString reason = QString::fromStdString(d.Reason);
            while (reason.endsWith(QLatin1Char('.')))
                reason.chop(1);
            QString line = tr("The recovery copy of %1 cannot be read: %2.\n")
                               .arg(ShownName(d.Untitled, d.FileName), reason);
            line += d.KeptAs.empty() ? tr("It was left in %1.").arg(places[int(i)])
                                     : tr("It was kept as %1.").arg(Decoded(d.KeptAs));
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
                           .arg(name,
                                QDateTime::fromSecsSinceEpoch(copy.WrittenAt)
                                    .toString(tr("yyyy-MM-dd hh:mm:ss",
                                                 "date and time format of QDateTime::toString")));
            names << name;
        }
    if (names.empty()) {
        // Folders of editors that ended with nothing unsaved.
        for (TOrphanCopies &orphans : found)
            orphans.Discard();
        removeEmptyBeside();
        return windows;
    }
    QString question = tr("ZorEdit did not close properly. Recover the unsaved changes of\n%1?")
                           .arg(names.join(QLatin1Char('\n')));
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
        removeEmptyBeside();
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
    // Where a recovered document has no copy of this editor's, the old copies are the only ones:
    // they stay until a start that can keep them.
    if (std::all_of(windows.begin(), windows.end(),
                    [this](TMDIChild *child) { return Entries[child].HasCopy; })) {
        for (TOrphanCopies &orphans : found)
            orphans.Discard();
        removeEmptyBeside();
    }
    return windows;
}

} // namespace zor
