#include "editor/Recovery.h"

#include "base/AtomicFile.h"
#include "base/BoundedRead.h"
#include "base/Platform.h"
#include "ui/MessageText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace zor {

namespace {

constexpr const char *LockExtension = ".lock";
constexpr const char *DamagedFolder = "damaged";
// A file name is at most PATH_MAX bytes; anything larger is not a name record of ours.
constexpr std::size_t MaxNameBytes = 64 * 1024;

std::string Join(const std::string &folder, const std::string &name)
{
    return folder + '/' + name;
}

QString Native(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string Encoded(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// A reason the operator reads in the recovery warnings, in the operator's language; %1 is a
// path.
std::string Reason(const char *text, const std::string &path = {})
{
    const QString translated = QCoreApplication::translate("Recovery", text);
    return Encoded(path.empty() ? translated : translated.arg(Native(path)));
}

std::string SystemReason(int err)
{
    return Encoded(SystemErrorText(err));
}

// Makes every missing folder of path, readable and writable by this user alone; true when path
// is a folder after. Otherwise *reason says why.
bool MakeFolders(const std::string &path, std::string *reason)
{
    QStringList missing;
    QFileInfo info(QDir::cleanPath(Native(path)));
    while (!info.exists() && !info.isSymLink() && info.path() != info.filePath()) {
        missing.prepend(info.filePath());
        info.setFile(info.path());
    }
    if (!info.isDir()) {
        *reason = SystemReason(info.exists() ? ENOTDIR : ENOENT);
        return false;
    }
    for (const QString &folder : missing) {
        errno = 0;
        if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
            !QFileInfo(folder).isDir()) {
            *reason = SystemReason(errno ? errno : EACCES);
            return false;
        }
    }
    return true;
}

std::vector<std::string> FolderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    const QStringList entries =
        QDir(Native(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : entries)
        names.push_back(Encoded(name));
    std::sort(names.begin(), names.end());
    return names;
}

// Whether anything is at path, a link to nowhere included.
bool Exists(const std::string &path)
{
    const QFileInfo info(Native(path));
    return info.exists() || info.isSymLink();
}

void RemoveFile(const std::string &path)
{
    QFile::remove(Native(path));
}

// The lock of the editor folder lockPath belongs to, taken; null while its editor still runs or
// another editor holds it. A lock left by a process that is gone is taken over, however old or
// new: only the process's end frees it, never its age.
//
// QLockFile takes a lock for a live process's when the process number written in it is running,
// and that number may be this very process's: Wine hands a restarted program the number its
// killed predecessor had, Windows and containers reuse numbers too. Such a lock is removed as
// stale, which QLockFile refuses while it is really held (flock on POSIX, the open handle's
// sharing on Windows), so this process's own locks stay where they are.
std::unique_ptr<QLockFile> TakeLock(const std::string &lockPath, std::string *reason = nullptr)
{
    auto lock = std::make_unique<QLockFile>(Native(lockPath));
    lock->setStaleLockTime(0);
    bool taken = lock->tryLock(0);
    if (!taken && lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, application;
        if (lock->getLockInfo(&pid, &host, &application) &&
            pid == QCoreApplication::applicationPid() && host == QSysInfo::machineHostName() &&
            lock->removeStaleLockFile())
            taken = lock->tryLock(0);
    }
    if (taken)
        return lock;
    if (reason)
        *reason = lock->error() == QLockFile::PermissionError ? SystemReason(EACCES)
                  : lock->error() == QLockFile::LockFailedError
                      ? Reason(QT_TRANSLATE_NOOP("Recovery", "held by another editor"))
                      : Reason(QT_TRANSLATE_NOOP("Recovery", "cannot be made"));
    return nullptr;
}

// "<n>.rtf" with n a plain decimal number; false for anything else.
bool CopyNumber(const std::string &name, unsigned *n)
{
    constexpr std::string_view suffix = ".rtf";
    if (name.size() <= suffix.size() || name.size() > suffix.size() + 9 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    unsigned value = 0;
    for (std::size_t i = 0; i + suffix.size() < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
        value = value * 10 + unsigned(name[i] - '0');
    }
    *n = value;
    return true;
}

std::string NumberedName(unsigned n, const char *extension)
{
    return std::to_string(n) + extension;
}

// Removes the files of folder, then the folder, then lets go of its lock (which goes last of
// all, so that an editor looking in meanwhile still finds the folder claimed).
void RemoveFolder(const std::string &folder, std::unique_ptr<QLockFile> &lock)
{
    for (const std::string &name : FolderEntries(folder))
        RemoveFile(Join(folder, name));
    QDir().rmdir(Native(folder));
    lock.reset();
}

} // namespace

std::string DefaultRecoveryFolder()
{
    const std::vector<std::string> state = UserStateFolders();
    return state.empty() ? std::string() : Join(state.front(), "ZorEdit/recovery");
}

TFileStamp StampOf(const std::string &path)
{
    TFileStamp stamp;
    std::error_code error;
    const std::filesystem::path file(path);
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return stamp;
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error)
        return stamp;
    stamp.Exists = true;
    stamp.Size = static_cast<long long>(size);
    // Counted from the same moment on every system, so that a copy's record reads the same
    // whichever build wrote it.
    stamp.ModifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::file_clock::to_sys(modified).time_since_epoch())
                           .count();
    return stamp;
}

// ---- this editor's copies ----

std::vector<std::string> RecoveryFolders()
{
    std::vector<std::string> folders;
    auto add = [&folders](std::string folder) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    for (const std::string &state : UserStateFolders())
        add(Join(state, "ZorEdit/recovery"));
    // Named for the user: another user's folder there is not ours to write or read.
    add(UserTemporaryFolder("ZorEdit-recovery"));
    return folders;
}

TRecoveryStore::TRecoveryStore(std::string root)
    : Root(std::move(root)),
      Writer([](const std::string &path, std::string_view data, std::string *error) {
          return WriteFileAtomically(path, data, error);
      })
{
}

TRecoveryStore::~TRecoveryStore() = default;

bool TRecoveryStore::Open(std::string *error)
{
    auto fail = [&](const std::string &what, const std::string &reason) {
        if (error)
            *error = what + ": " + reason;
        return false;
    };
    if (IsOpen())
        return true;
    if (Root.empty() || !QDir::isAbsolutePath(Native(Root)))
        return fail(Reason(QT_TRANSLATE_NOOP("Recovery", "no recovery folder")),
                    SystemReason(ENOENT));
    std::string reason;
    if (!MakeFolders(Root, &reason))
        return fail(Reason(QT_TRANSLATE_NOOP("Recovery", "cannot make %1"), Root), reason);
    // The temporary folder is everybody's: a folder made there in our name by someone else would
    // hand them the documents.
    if (!IsPrivateFolder(Root))
        return fail(
            Reason(QT_TRANSLATE_NOOP("Recovery", "%1 is not a folder of this user's own"), Root),
            SystemReason(EPERM));
    // Made under a dot name, and its lock taken under the name it will have, before it gets the
    // name other editors look at: no starting editor ever takes a folder still being set up.
    QTemporaryDir made(
        Native(Join(Root, "." + std::to_string(QCoreApplication::applicationPid()) + "-XXXXXX")));
    if (!made.isValid())
        return fail(Reason(QT_TRANSLATE_NOOP("Recovery", "cannot make a folder in %1"), Root),
                    Encoded(made.errorString()));
    made.setAutoRemove(false);
    const std::string temp = Encoded(made.path());
    const std::string final = Join(Root, temp.substr(temp.rfind('/') + 2));
    std::unique_ptr<QLockFile> lock = TakeLock(final + LockExtension, &reason);
    if (!lock) {
        QDir(made.path()).removeRecursively();
        return fail(Reason(QT_TRANSLATE_NOOP("Recovery", "cannot lock %1"), final), reason);
    }
    if (!QDir().rename(made.path(), Native(final))) {
        QDir(made.path()).removeRecursively();
        return fail(Reason(QT_TRANSLATE_NOOP("Recovery", "cannot name %1"), final),
                    SystemReason(errno ? errno : EACCES));
    }
    Lock = std::move(lock);
    Own = final;
    return true;
}

bool TRecoveryStore::Write(unsigned n, bool untitled, std::string_view fileName,
                           std::string_view rtf, std::string *error, const TFileStamp *file)
{
    if (!IsOpen()) {
        if (error)
            *error = Reason(QT_TRANSLATE_NOOP("Recovery", "no recovery folder"));
        return false;
    }
    // The name first: a copy is only ever found with the name it belongs to.
    const std::string stale = Join(Own, NumberedName(n, ".stale"));
    const std::string stampPath = Join(Own, NumberedName(n, ".file"));
    if (untitled || !file)
        RemoveFile(stampPath);
    if (Writer(Join(Own, NumberedName(n, ".name")), untitled ? std::string_view() : fileName,
               error) &&
        (untitled || !file ||
         Writer(stampPath,
                std::to_string(int(file->Exists)) + ' ' + std::to_string(file->Size) + ' ' +
                    std::to_string(file->ModifiedNs),
                error)) &&
        Writer(Join(Own, NumberedName(n, ".rtf")), rtf, error)) {
        RemoveFile(stale);
        return true;
    }
    // An empty file needs no data block, so it can mostly still be made on a full disk; the next
    // start then says how old the copy it offers is. Made only where nothing is (a link there is
    // not followed).
    if (Exists(Join(Own, NumberedName(n, ".rtf"))) && !Exists(stale)) {
        QFile marker(Native(stale));
        if (marker.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            marker.close();
    }
    return false;
}

void TRecoveryStore::Remove(unsigned n)
{
    if (!IsOpen())
        return;
    for (const char *extension : {".rtf", ".name", ".stale", ".file"})
        RemoveFile(Join(Own, NumberedName(n, extension)));
}

void TRecoveryStore::Finish()
{
    if (!IsOpen())
        return;
    RemoveFolder(Own, Lock);
    Own.clear();
}

// ---- copies left behind ----

TOrphanCopies::TOrphanCopies(TOrphanCopies &&other) noexcept
    : Copies(std::move(other.Copies)), Damaged(std::move(other.Damaged)),
      Claims(std::move(other.Claims))
{
    other.Claims.clear();
}

TOrphanCopies &TOrphanCopies::operator=(TOrphanCopies &&other) noexcept
{
    if (this != &other) {
        Release();
        Copies = std::move(other.Copies);
        Damaged = std::move(other.Damaged);
        Claims = std::move(other.Claims);
        other.Claims.clear();
    }
    return *this;
}

TOrphanCopies::~TOrphanCopies()
{
    Release();
}

void TOrphanCopies::Release()
{
    Claims.clear();
}

void TOrphanCopies::Discard()
{
    for (TClaim &claim : Claims) {
        if (claim.Stuck.empty()) {
            RemoveFolder(claim.Folder, claim.Lock);
        } else {
            // A damaged copy that could not be moved aside stays where it is, and with it its
            // folder; the others go.
            for (const std::string &name : FolderEntries(claim.Folder))
                if (std::find(claim.Stuck.begin(), claim.Stuck.end(), name) == claim.Stuck.end())
                    RemoveFile(Join(claim.Folder, name));
        }
    }
    Claims.clear();
    Copies.clear();
}

TOrphanCopies TOrphanCopies::Claim(const std::string &root)
{
    TOrphanCopies found;
    if (root.empty())
        return found;
    for (const std::string &entry : FolderEntries(root)) {
        if (entry[0] == '.' || entry == DamagedFolder)
            continue;
        const std::string folder = Join(root, entry);
        // A link is never followed to folders elsewhere.
        if (const QFileInfo info(Native(folder)); !info.isDir() || info.isSymLink())
            continue;
        // Not taken: its editor still runs, or another editor starting now has claimed it.
        std::unique_ptr<QLockFile> lock = TakeLock(folder + LockExtension);
        if (!lock)
            continue;
        // Gone by the time the lock is ours: it was just discarded by the editor that held it.
        if (const QFileInfo info(Native(folder)); !info.isDir() || info.isSymLink())
            continue;
        found.Claims.push_back({folder, std::move(lock), {}});

        std::vector<unsigned> numbers;
        for (const std::string &name : FolderEntries(folder))
            if (unsigned n = 0; CopyNumber(name, &n))
                numbers.push_back(n);
        std::sort(numbers.begin(), numbers.end());
        for (const unsigned n : numbers) {
            const std::string name = NumberedName(n, ".rtf");
            const std::string rtfPath = Join(folder, name);
            const std::string namePath = Join(folder, NumberedName(n, ".name"));
            TRecoveryCopy copy;
            copy.Number = n;
            std::string reason;
            std::string nameBytes;
            const TFileRead nameRead = ReadFileBounded(namePath, MaxNameBytes, &nameBytes);
            if (!nameRead.Ok())
                reason = Reason(QT_TRANSLATE_NOOP("Recovery", "its file name cannot be read: %1"),
                                nameRead.Reason());
            copy.Untitled = nameBytes.empty();
            copy.FileName = nameBytes;
            if (reason.empty()) {
                std::string bytes;
                const TFileRead read = ReadFileBounded(rtfPath, rtf::MaxInputBytes, &bytes);
                if (!read.Ok()) {
                    reason = read.Reason();
                } else {
                    rtf::ReadResult doc = rtf::Read(bytes);
                    // The copies are written whole, as RTF: anything else was damaged after.
                    if (!doc.Ok())
                        reason =
                            doc.ErrorSource.empty()
                                ? doc.Error
                                : Encoded(QCoreApplication::translate(
                                              "RtfReader", std::string(doc.ErrorSource).c_str())
                                              .arg(doc.ErrorNumber));
                    else if (doc.Source != rtf::SourceKind::Rtf)
                        reason = Reason(QT_TRANSLATE_NOOP("Recovery", "it is not RTF"));
                    else if (!doc.Warning.empty())
                        reason =
                            Encoded(QCoreApplication::translate("RtfReader", doc.Warning.c_str()));
                    else
                        copy.Doc = std::move(doc.Doc);
                }
                if (const QFileInfo written(Native(rtfPath)); written.exists())
                    copy.WrittenAt = written.lastModified().toSecsSinceEpoch();
                copy.Stale = Exists(Join(folder, NumberedName(n, ".stale")));
                // Unreadable or missing: the copy is still offered, only without the check.
                std::string stampText;
                int exists = 0;
                if (!copy.Untitled &&
                    ReadFileBounded(Join(folder, NumberedName(n, ".file")), 100, &stampText).Ok() &&
                    std::sscanf(stampText.c_str(), "%d %lld %lld", &exists, &copy.File.Size,
                                &copy.File.ModifiedNs) == 3) {
                    copy.HasFile = true;
                    copy.File.Exists = exists != 0;
                }
            }
            if (reason.empty()) {
                found.Copies.push_back(std::move(copy));
                continue;
            }
            TDamagedCopy damaged;
            damaged.Untitled = copy.Untitled;
            damaged.FileName = copy.FileName;
            damaged.Reason = reason;
            const std::string aside = Join(root, DamagedFolder);
            const std::string base = Join(aside, entry + '-' + std::to_string(n));
            std::string reasonAside;
            if (MakeFolders(aside, &reasonAside) &&
                QFile::rename(Native(rtfPath), Native(base + ".rtf"))) {
                damaged.KeptAs = base + ".rtf";
                QFile::rename(Native(namePath), Native(base + ".name"));
            } else {
                std::vector<std::string> &stuck = found.Claims.back().Stuck;
                stuck.push_back(name);
                stuck.push_back(NumberedName(n, ".name"));
            }
            found.Damaged.push_back(std::move(damaged));
        }
    }
    return found;
}

} // namespace zor
