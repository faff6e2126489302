#include "ui/MessageText.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>

namespace zor {

namespace {

// Worded as the system words them, so that the English interface reads as strerror does; an
// error missing here keeps the system's words (in the language the system gives them).
struct TErrorWords
{
    int Error;
    const char *Words;
};

const TErrorWords ErrorWords[] = {
    {ENOENT, QT_TRANSLATE_NOOP("SystemError", "No such file or directory")},
    {EACCES, QT_TRANSLATE_NOOP("SystemError", "Permission denied")},
    {EPERM, QT_TRANSLATE_NOOP("SystemError", "Operation not permitted")},
    {EBUSY, QT_TRANSLATE_NOOP("SystemError", "Device or resource busy")},
    {EISDIR, QT_TRANSLATE_NOOP("SystemError", "Is a directory")},
    {ENOTDIR, QT_TRANSLATE_NOOP("SystemError", "Not a directory")},
    {ENODEV, QT_TRANSLATE_NOOP("SystemError", "No such device")},
    {ENXIO, QT_TRANSLATE_NOOP("SystemError", "No such device or address")},
    {EIO, QT_TRANSLATE_NOOP("SystemError", "Input/output error")},
    {ENOSPC, QT_TRANSLATE_NOOP("SystemError", "No space left on device")},
    {EROFS, QT_TRANSLATE_NOOP("SystemError", "Read-only file system")},
    {EEXIST, QT_TRANSLATE_NOOP("SystemError", "File exists")},
    {EMFILE, QT_TRANSLATE_NOOP("SystemError", "Too many open files")},
    {ETIMEDOUT, QT_TRANSLATE_NOOP("SystemError", "Connection timed out")},
    {ECONNREFUSED, QT_TRANSLATE_NOOP("SystemError", "Connection refused")},
    {ECONNRESET, QT_TRANSLATE_NOOP("SystemError", "Connection reset by peer")},
    {EHOSTUNREACH, QT_TRANSLATE_NOOP("SystemError", "No route to host")},
    {ENETUNREACH, QT_TRANSLATE_NOOP("SystemError", "Network is unreachable")},
    {EPIPE, QT_TRANSLATE_NOOP("SystemError", "Broken pipe")},
};

} // namespace

QString SystemErrorText(int error)
{
    for (const TErrorWords &words : ErrorWords)
        if (words.Error == error)
            return QCoreApplication::translate("SystemError", words.Words);
    return QString::fromLocal8Bit(std::strerror(error));
}

QString MessageText(const TMessage &message)
{
    if (message.Error != 0)
        return SystemErrorText(message.Error);
    if (message.Context == nullptr)
        return QString::fromStdString(message.Format);
    // As FillPlaceholders does it: each value put in once, so that a "%2" in a device's name or a
    // system's words is not taken for a placeholder.
    const QString format =
        *message.Context ? QCoreApplication::translate(message.Context, message.Format.c_str())
                         : QString::fromStdString(message.Format);
    QString out;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('%') && i + 1 < format.size() &&
            format[i + 1] >= QLatin1Char('1') && format[i + 1] <= QLatin1Char('9')) {
            const auto n = static_cast<std::size_t>(format[i + 1].unicode() - u'1');
            if (n < message.Args.size()) {
                out += MessageText(message.Args[n]);
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

} // namespace zor
