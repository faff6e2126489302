// Recovery copies: what the operator typed survives a crash, a kill or a power cut. Each running
// editor keeps a copy of every modified document in a folder of its own under the recovery
// folder, locked for as long as the editor runs. The lock names the process that holds it and is
// taken over only once that process is gone (never for being old), so a folder whose lock can be
// taken belongs to an editor that did not close properly, and only such folders are offered at
// the next start. On QtCore's files and locks, so that it works alike on every system.
//
// Layout under the recovery folder:
//   <pid>-<random>.lock      held by the running editor (beside its folder, so that the folder
//                            can be made under a dot name and renamed while locked)
//   <pid>-<random>/<n>.name  the document's file name, byte for byte; empty for an untitled one
//   <pid>-<random>/<n>.rtf   the document as RTF (the document file format)
//   <pid>-<random>/<n>.file  "EXISTS SIZE MODIFIED_NS" of the document's file (TFileStamp)
//   <pid>-<random>/<n>.stale present while <n>.rtf is older than the document (a later copy
//                            could not be written)
//   damaged/<folder>-<n>.*   copies that could not be read back, kept for the operator
// Folders whose names start with '.' are being made and are never touched by another editor.
#pragma once

#include "editor/rtf/RtfCodec.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QLockFile;

namespace zor {

// ZorEdit/recovery in the user's first state folder (UserStateFolders(): $XDG_STATE_HOME, or
// ~/.local/state when XDG_STATE_HOME is not an absolute path; %LOCALAPPDATA% on Windows); empty
// when there is none (no copies are kept there then).
std::string DefaultRecoveryFolder();
// Where copies may be kept, best first: ZorEdit/recovery in each of the user's state folders, then
// a folder of this user's own in the temporary folder (UserTemporaryFolder("ZorEdit-recovery")).
// No empty or repeated entries; the temporary one is always last.
std::vector<std::string> RecoveryFolders();

// What a document's file was when its copy was begun: enough to tell that it changed since.
struct TFileStamp
{
    bool Exists = false;
    long long Size = 0;
    long long ModifiedNs = 0; // modification time, nanoseconds since the epoch
    bool operator==(const TFileStamp &) const = default;
};
TFileStamp StampOf(const std::string &path);

// This editor's own copies. Not copyable; one per running editor.
class TRecoveryStore
{
public:
    // root: the recovery folder; nothing is made before Open().
    explicit TRecoveryStore(std::string root);
    // Lets go of the lock and keeps the copies: an editor that ends without Finish() has its
    // copies offered at the next start.
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore &) = delete;
    TRecoveryStore &operator=(const TRecoveryStore &) = delete;

    // Makes the recovery folder (mode 0700) and this editor's locked folder in it. False with the
    // reason in *error (may be null) when it cannot; Write() then fails too.
    bool Open(std::string *error = nullptr);
    bool IsOpen() const { return Lock != nullptr; }
    // Another recovery folder for the next Open(); nothing while open.
    void SetRoot(std::string root)
    {
        if (!IsOpen())
            Root = std::move(root);
    }
    const std::string &RootFolder() const { return Root; }
    // This editor's folder; empty before a successful Open().
    const std::string &Folder() const { return Own; }

    // Writes document n's copy: its name record, then its RTF, each replaced atomically, so a
    // copy is always whole. fileName is ignored for an untitled document. False with the reason.
    // file: what the document's file was (none for an untitled document). When it fails, an
    // earlier copy of n stays and is marked as older than the document.
    bool Write(unsigned n, bool untitled, std::string_view fileName, std::string_view rtf,
               std::string *error = nullptr, const TFileStamp *file = nullptr);

    // How Write() puts a file in place (WriteFileAtomically); replaced by tests to fail it.
    using TWriter =
        std::function<bool(const std::string &path, std::string_view data, std::string *error)>;
    void SetWriter(TWriter writer) { Writer = std::move(writer); }
    // Removes document n's copy (saved, or closed without saving); nothing when it has none.
    void Remove(unsigned n);
    // A clean exit: removes every copy and this editor's folder, and lets go of the lock.
    void Finish();

private:
    std::string Root;
    std::string Own;
    std::unique_ptr<QLockFile> Lock;
    TWriter Writer;
};

// One document found in the folder of an editor that did not close properly.
struct TRecoveryCopy
{
    unsigned Number = 0;
    bool Untitled = true;
    std::string FileName; // byte for byte as the editor had it; empty for an untitled document
    doc::Document Doc;
    // The document was changed after this copy was written and no later copy could be kept.
    bool Stale = false;
    long long WrittenAt = 0; // when the copy was written, seconds since the epoch
    bool HasFile = false;    // File is known (a titled document's copy)
    TFileStamp File;
};

// A copy that could not be read back: moved aside, never opened, never deleted.
struct TDamagedCopy
{
    bool Untitled = true;
    std::string FileName; // empty when untitled or when its name record is unreadable too
    std::string Reason;
    std::string KeptAs; // where it lies now; empty when it could not be moved (it stays put)
};

// The copies of editors that did not close properly, claimed at start: their folders are locked
// by this object, so that another editor starting at the same time does not offer them too.
class TOrphanCopies
{
public:
    // Claims every folder under root whose editor no longer runs and reads its copies, in the
    // order of their folders' names and their numbers. Damaged copies are moved to
    // root/damaged and listed in Damaged. Never throws on what it finds on disk.
    static TOrphanCopies Claim(const std::string &root);

    TOrphanCopies() = default;
    TOrphanCopies(TOrphanCopies &&other) noexcept;
    TOrphanCopies &operator=(TOrphanCopies &&other) noexcept;
    // Lets go of the claims and keeps the copies for a later start.
    ~TOrphanCopies();

    std::vector<TRecoveryCopy> Copies;
    std::vector<TDamagedCopy> Damaged;

    // Deletes the claimed folders with every copy in them (the copies were recovered, or the
    // operator discarded them).
    void Discard();
    // Lets go of the claims; the copies stay for a later start.
    void Release();

private:
    struct TClaim
    {
        std::string Folder;
        std::unique_ptr<QLockFile> Lock;
        std::vector<std::string> Stuck; // damaged files that could not be moved aside
    };
    std::vector<TClaim> Claims;
};

} // namespace zor
