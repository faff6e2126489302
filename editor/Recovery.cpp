#include "editor/Recovery.h"

#include "base/AtomicFile.h"
#include "base/BoundedRead.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

namespace {

constexpr const char *LockName = "lock";
constexpr const char *DamagedFolder = "damaged";
// A file name is at most PATH_MAX bytes; anything larger is not a name record of ours.
constexpr std::size_t MaxNameBytes = 64 * 1024;

std::string Join(const std::string &folder, const std::string &name)
{
    return folder + '/' + name;
}

std::string SystemReason(int err)
{
    return std::strerror(err);
}

// Makes every missing folder of path with the given mode; true when path is a folder after.
bool MakeFolders(const std::string &path, mode_t mode)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> FolderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
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

// Removes the regular files of folder, then the folder (and the lock file last of all, so that
// an editor looking in meanwhile still finds the folder claimed).
void RemoveFolder(const std::string &folder)
{
    for (const std::string &name : FolderEntries(folder))
        if (name != LockName)
            ::unlink(Join(folder, name).c_str());
    ::unlink(Join(folder, LockName).c_str());
    ::rmdir(folder.c_str());
}

} // namespace

std::string DefaultRecoveryFolder()
{
    if (const char *state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::string(state) + "/ZorEdit/recovery";
    if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/state/ZorEdit/recovery";
    return {};
}

TFileStamp StampOf(const std::string &path)
{
    TFileStamp stamp;
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return stamp;
    stamp.Exists = true;
    stamp.Size = st.st_size;
    stamp.ModifiedNs =
        static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
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
    add(DefaultRecoveryFolder());
    if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        add(std::string(home) + "/.local/state/ZorEdit/recovery");
    const char *temp = std::getenv("TMPDIR");
    // Named for the user: another user's folder there is not ours to write or read.
    add(std::string(temp && temp[0] == '/' ? temp : "/tmp") + "/ZorEdit-recovery-" +
        std::to_string(::getuid()));
    return folders;
}

TRecoveryStore::TRecoveryStore(std::string root)
    : Root(std::move(root)),
      Writer([](const std::string &path, std::string_view data, std::string *error) {
          return WriteFileAtomically(path, data, error);
      })
{
}

TRecoveryStore::~TRecoveryStore()
{
    if (LockFd >= 0)
        ::close(LockFd);
}

bool TRecoveryStore::Open(std::string *error)
{
    auto fail = [&](const std::string &what, int err) {
        if (error)
            *error = what + ": " + SystemReason(err);
        return false;
    };
    if (IsOpen())
        return true;
    if (Root.empty() || Root[0] != '/')
        return fail("no recovery folder", ENOENT);
    if (!MakeFolders(Root, 0700))
        return fail("cannot make " + Root, errno);
    // The temporary folder is everybody's: a folder made there in our name by someone else would
    // hand them the documents.
    struct stat rootStat
    {
    };
    if (::stat(Root.c_str(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode) ||
        rootStat.st_uid != ::geteuid() || (rootStat.st_mode & S_IWOTH) != 0)
        return fail(Root + " is not a folder of this user's own", EPERM);
    // Made under a dot name and locked before it gets the name other editors look at, so that no
    // starting editor ever takes a folder that is still being set up for an orphan.
    const std::string pid = std::to_string(::getpid());
    std::string temp = Join(Root, "." + pid + "-XXXXXX");
    if (!::mkdtemp(temp.data()))
        return fail("cannot make a folder in " + Root, errno);
    const int fd = ::open(Join(temp, LockName).c_str(),
                          O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        RemoveFolder(temp);
        return fail("cannot lock " + temp, err);
    }
    const std::string final = Join(Root, temp.substr(Root.size() + 2));
    if (::rename(temp.c_str(), final.c_str()) != 0) {
        const int err = errno;
        ::close(fd);
        RemoveFolder(temp);
        return fail("cannot name " + final, err);
    }
    LockFd = fd;
    Own = final;
    return true;
}

bool TRecoveryStore::Write(unsigned n, bool untitled, std::string_view fileName,
                           std::string_view rtf, std::string *error, const TFileStamp *file)
{
    if (!IsOpen()) {
        if (error)
            *error = "no recovery folder";
        return false;
    }
    // The name first: a copy is only ever found with the name it belongs to.
    const std::string stale = Join(Own, NumberedName(n, ".stale"));
    const std::string stampPath = Join(Own, NumberedName(n, ".file"));
    if (untitled || !file)
        ::unlink(stampPath.c_str());
    if (Writer(Join(Own, NumberedName(n, ".name")), untitled ? std::string_view() : fileName,
               error) &&
        (untitled || !file ||
         Writer(stampPath,
                std::to_string(int(file->Exists)) + ' ' + std::to_string(file->Size) + ' ' +
                    std::to_string(file->ModifiedNs),
                error)) &&
        Writer(Join(Own, NumberedName(n, ".rtf")), rtf, error)) {
        ::unlink(stale.c_str());
        return true;
    }
    // An empty file needs no data block, so it can mostly still be made on a full disk; the next
    // start then says how old the copy it offers is.
    struct stat st
    {
    };
    if (::stat(Join(Own, NumberedName(n, ".rtf")).c_str(), &st) == 0) {
        const int fd = ::open(stale.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0)
            ::close(fd);
    }
    return false;
}

void TRecoveryStore::Remove(unsigned n)
{
    if (!IsOpen())
        return;
    ::unlink(Join(Own, NumberedName(n, ".rtf")).c_str());
    ::unlink(Join(Own, NumberedName(n, ".name")).c_str());
    ::unlink(Join(Own, NumberedName(n, ".stale")).c_str());
    ::unlink(Join(Own, NumberedName(n, ".file")).c_str());
}

void TRecoveryStore::Finish()
{
    if (!IsOpen())
        return;
    RemoveFolder(Own);
    ::close(LockFd);
    LockFd = -1;
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
    for (const TClaim &claim : Claims)
        ::close(claim.Fd);
    Claims.clear();
}

void TOrphanCopies::Discard()
{
    for (const TClaim &claim : Claims) {
        if (claim.Stuck.empty()) {
            RemoveFolder(claim.Folder);
        } else {
            // A damaged copy that could not be moved aside stays where it is, and with it its
            // folder; the others go.
            for (const std::string &name : FolderEntries(claim.Folder))
                if (name != LockName &&
                    std::find(claim.Stuck.begin(), claim.Stuck.end(), name) == claim.Stuck.end())
                    ::unlink(Join(claim.Folder, name).c_str());
        }
        ::close(claim.Fd);
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
        struct stat st
        {
        };
        if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        const int fd = ::open(Join(folder, LockName).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        // Held: its editor still runs, or another editor starting now has claimed it. A lock
        // file that is gone by the time it is ours was in a folder just discarded.
        struct stat lockStat
        {
        };
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &lockStat) != 0 ||
            lockStat.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        found.Claims.push_back({folder, fd, {}});

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
                reason = "its file name cannot be read: " + nameRead.Reason();
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
                        reason = doc.Error;
                    else if (doc.Source != rtf::SourceKind::Rtf)
                        reason = "it is not RTF";
                    else if (!doc.Warning.empty())
                        reason = doc.Warning;
                    else
                        copy.Doc = std::move(doc.Doc);
                }
                struct stat rtfStat
                {
                };
                if (::stat(rtfPath.c_str(), &rtfStat) == 0)
                    copy.WrittenAt = rtfStat.st_mtime;
                struct stat staleStat
                {
                };
                copy.Stale =
                    ::lstat(Join(folder, NumberedName(n, ".stale")).c_str(), &staleStat) == 0;
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
            if (MakeFolders(aside, 0700) &&
                ::rename(rtfPath.c_str(), (base + ".rtf").c_str()) == 0) {
                damaged.KeptAs = base + ".rtf";
                ::rename(namePath.c_str(), (base + ".name").c_str());
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
