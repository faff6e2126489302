// The parts of the atomic writer that are the same on every platform; the writer itself is in
// base/posix and base/win32.
#include "base/AtomicFile.h"
#include "base/AtomicFileParts.h"
#include "base/Platform.h"
#include "base/TranslateNoop.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zor {

bool FailWrite(TWriteFailure *failure, const TMessage &what, int err, TMessage why)
{
    failure->Errno = err;
    failure->Because = !why.empty() ? std::move(why)
                       : err != 0   ? TMessage::SystemError(err)
                                    : TMessage(std::strerror(err));
    failure->Why = failure->Because.Text();
    failure->Said = TMessage::Fill("%1: %2", {what, failure->Because});
    failure->Message = failure->Said.Text();
    return false;
}

std::string FolderOfPath(const std::string &path)
{
    const auto separator = LastPathSeparator(path);
    return separator == std::string::npos ? std::string{} : path.substr(0, separator + 1);
}

std::string NameInFolder(const std::string &path)
{
    const auto separator = LastPathSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    Abandon();
}

bool TAtomicFileWriter::Fail(const TMessage &what, int err)
{
    FailWrite(&Reason, what, err);
    Abandon();
    return false;
}

bool WriteFileAtomically(const std::string &path, std::string_view data, TWriteFailure *failure)
{
    TAtomicFileWriter file(path);
    if (file.Write(data) && file.Commit())
        return true;
    if (failure)
        *failure = file.Failure();
    return false;
}

bool WriteFileAtomically(const std::string &path, std::string_view data, std::string *error)
{
    TWriteFailure failure;
    if (WriteFileAtomically(path, data, &failure))
        return true;
    if (error)
        *error = failure.Message;
    return false;
}

bool ReadWholeFile(const std::string &path, std::string *data)
{
    data->clear();
    // By its UTF-8 name also where the narrow file API takes another code page (Windows).
    const std::u8string name(path.begin(), path.end());
    std::ifstream in(std::filesystem::path(name), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    *data = std::move(buffer).str();
    return true;
}

} // namespace zor
