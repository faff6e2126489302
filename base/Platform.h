// What the cores need of the operating system beyond standard C++: where the program lies, where
// a user's settings go, whether a file may be written, the command line and the console's
// interrupt, what kind of thing a path names, and a thread's priority. One implementation per
// platform (base/posix, base/win32), chosen by the build, so that no core asks which system it runs
// on. Paths are UTF-8 on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

// The index of the last folder separator in path ('/'; on Windows '\\' as well), or npos.
std::size_t LastPathSeparator(std::string_view path);

// folder and name joined by the system's separator ('/'; '\\' on Windows), none added when folder
// ends in one already.
std::string JoinPath(std::string_view folder, std::string_view name);

// The local time of a moment, in the time zone the system is set to.
std::tm LocalTime(std::time_t moment);

// The processor time this process has used, in seconds.
double ProcessCpuSeconds();

// Raises the number of files (and sockets, pipes) this process may have open at once to the most
// the system grants it (POSIX: the soft RLIMIT_NOFILE up to the hard one) and returns that number.
// 0 where there is no such limit to speak of (Windows, or no limit at all).
std::size_t RaiseOpenFileLimit();

// The running program's own file, absolute; empty when the system does not tell.
std::string ExecutablePath();

// The folder for a user's settings of every program: $XDG_CONFIG_HOME when set and absolute,
// else $HOME/.config (POSIX); %APPDATA% (Windows). Empty when there is none.
std::string UserConfigFolder();

// Whether a program may keep its settings file in folder ("" is the current folder): the folder
// can be written by this user, and it is no folder of installed programs that must stay read-only
// (POSIX: anything under /usr/, even for the superuser).
bool MayWriteBesideProgram(const std::string &folder);

// Where a user's programs keep state worth keeping between runs (history, recovery copies), best
// first: POSIX: $XDG_STATE_HOME when absolute, then $HOME/.local/state when HOME is absolute (the
// default, also when XDG_STATE_HOME names another); Windows: %LOCALAPPDATA%. No empty or repeated
// entries; empty when there is none.
std::vector<std::string> UserStateFolders();

// A folder of this user's own named after name in the temporary folder: POSIX: $TMPDIR (else
// /tmp)/name-<user id>, for the temporary folder is everybody's there; Windows: the user's own
// temporary folder, name in it. Nothing is made.
std::string UserTemporaryFolder(std::string_view name);

// Whether folder is a folder (or a link to one) that only this user may write in: POSIX: owned by
// the effective user and not writable by others; Windows: a folder (the places offered for
// private files lie in the user's own profile).
bool IsPrivateFolder(const std::string &folder);

// Whether anything (a file, folder or device) is at path, as far as this user can see.
bool PathExists(const std::string &path);

// What is at a path, as far as writing to it goes.
enum class TPathKind {
    Missing,     // nothing (or nothing this user can see)
    RegularFile, // a file, which a writer may replace
    Stream,      // a FIFO or a device (POSIX: character device; Windows: a \\.\ name): it takes
            // what is written as it comes, cannot be replaced, and reading it may wait for ever
    Other, // a folder, a socket or anything else that is no place for a file's bytes
};
TPathKind PathKindOf(const std::string &path);

// Whether an existing file at path must not be written: its protection says so (POSIX: no write
// bit at all, which binds even the superuser; Windows: the read-only attribute) or this user may
// not write it. False for a name where nothing is.
bool IsReadOnlyFile(const std::string &path);

// The program's arguments after its name, in UTF-8 (on Windows read from the wide command line,
// whatever the console's code page; argv is ignored there).
std::vector<std::string> ProgramArguments(int argc, char **argv);

// Makes standard output carry bytes as they are written: a program's CR LF stays two bytes, where
// Windows' text mode would put a CR before every LF. Nothing to do on POSIX.
void UseBinaryStandardOutput();

// The stream a program's text goes to.
enum class TStandardStream { Output, Error };

// Writes UTF-8 text to standard output or error, after what stdio holds for it. Windows: as wide
// text when the stream is a console, whose code page would garble UTF-8 bytes (a character split
// across two writes is put together first); bytes otherwise, as on POSIX, for the scripts that
// read a pipe or a file expect UTF-8. Returns false when it could not all be written.
bool WriteStandardText(TStandardStream stream, std::string_view text);

// Which interrupts a routing takes, and how the waits they interrupt go on.
struct TInterruptRouting
{
    // The end of the terminal or session as well (POSIX: SIGHUP; Windows: nothing more, closing
    // the console counts already), for a program that keeps a user's work.
    bool TerminalGone = false;
    // Interrupted waits go on as if nothing came (POSIX: SA_RESTART), for a program whose event
    // loop learns of an interrupt through a TInterruptWakeUp. Without it a blocking wait is not
    // restarted, so that a wait on a port looks at once at what the callback set.
    bool RestartWaits = false;
};

// The console's interrupt: Ctrl-C (and SIGTERM on POSIX; Ctrl-Break, closing the console window
// and the end of the session on Windows, where the callback's thread then waits for the program
// to end itself, as the system would end it on return) calls onInterrupt with the matching signal
// number (SIGINT, SIGTERM; SIGHUP as routing asks) instead of ending the program, until
// StopRoutingInterrupts() puts back what was there before. The callback runs in a signal handler
// (POSIX) or on a thread of the system's (Windows): it may only set flags and atomics, raise a
// TInterruptWakeUp and call EndBySignal. One routing at a time.
void RouteInterrupts(void (*onInterrupt)(int signal), TInterruptRouting routing = {});
void StopRoutingInterrupts();

// Carries interrupts from their callback to an event loop, which may do there what a callback
// may not (write a user's work to disk): Raise makes Handle readable, the loop watches it (a
// QSocketNotifier) and takes the signal numbers that came. POSIX: a non-blocking pipe. Windows: a
// connected pair of loopback sockets (a console's callback runs on a thread of the system's).
// Valid() is false when none could be made.
class TInterruptWakeUp
{
public:
    TInterruptWakeUp();
    ~TInterruptWakeUp();
    TInterruptWakeUp(const TInterruptWakeUp &) = delete;
    TInterruptWakeUp &operator=(const TInterruptWakeUp &) = delete;

    bool Valid() const { return ReadEnd >= 0; }
    // The descriptor to watch for reading; -1 when there is none.
    int Handle() const { return ReadEnd; }
    // Safe in a signal handler; errno is kept.
    void Raise(int signal) const noexcept;
    // The signal number of the next interrupt raised, -1 when none is waiting.
    int Take() const;

private:
    int ReadEnd = -1;
    int WriteEnd = -1;
};

// Ends the process as signal would have without a handler, so that whoever sent it sees it (a
// shell, the session manager); Windows: exit status 128 + signal. Safe in a signal handler;
// never returns.
[[noreturn]] void EndBySignal(int signal);

// A thread of this process as the system names it (POSIX: its kernel thread id; Windows: its
// thread id).
using TThreadId = std::uint64_t;
TThreadId CurrentThreadId();

// How urgently the system runs a thread of this process: a larger number runs sooner (POSIX: its
// nice value negated; Windows: its priority level). 0 for a thread the system does not know.
int ThreadPriority(TThreadId thread);

// Raises the calling thread's priority for as long as it lives, for work that must keep time (a
// frame due every 20 ms), where the system grants it (POSIX: a nice value of -10, which needs the
// privilege to raise it; Windows: the highest level of a normal process), and puts back the
// priority the thread had before when it ends. Made and ended on the same thread.
class TRaisedThreadPriority
{
public:
    TRaisedThreadPriority();
    ~TRaisedThreadPriority();
    TRaisedThreadPriority(const TRaisedThreadPriority &) = delete;
    TRaisedThreadPriority &operator=(const TRaisedThreadPriority &) = delete;

    // Whether the system granted the raise.
    bool Raised() const { return IsRaised; }

private:
    int Previous = 0; // as the system counts it
    bool IsRaised = false;
};

} // namespace zor
