#include "comm/TransferLogWriter.h"

#include "base/AtomicFile.h"

namespace zor {

TTransferLogWriter::TTransferLogWriter(TTransferLog log) : Settings(std::move(log)) {}

// Out of line: the file writer is only declared in the header.
TTransferLogWriter::~TTransferLogWriter() = default;

void TTransferLogWriter::Begin()
{
    ProblemText.clear();
    Pending.clear();
    File.reset();
    if (!Settings.LogToFile)
        return;
    File = std::make_unique<TAtomicFileWriter>(Settings.LogPath, TFileReplace::AsWritten);
    if (!File->IsOpen())
        Failed();
}

void TTransferLogWriter::Failed()
{
    // Said once: the first failure ends the log, the transfer goes on without it.
    if (ProblemText.empty() && File)
        ProblemText = TMessage::Fill("%1: %2", {Settings.LogPath, File->Failure().Because});
    File.reset();
    Pending.clear();
}

void TTransferLogWriter::Text(std::string_view text)
{
    if (File)
        Pending += text;
}

void TTransferLogWriter::Line(std::string_view text)
{
    if (!File)
        return;
    Pending += text;
    Pending += "\r\n";
    if (!File->Write(Pending))
        return Failed();
    Pending.clear();
}

void TTransferLogWriter::Dump(const std::uint8_t *bytes, std::size_t count)
{
    if (!File)
        return;
    static const char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < count; ++i) {
        const char hex[3] = {digits[bytes[i] >> 4], digits[bytes[i] & 15], ','};
        Pending.append(hex, sizeof hex);
    }
}

void TTransferLogWriter::End()
{
    if (!File)
        return;
    if (!File->Write(Pending) || !File->Commit())
        return Failed();
    File.reset();
    Pending.clear();
}

} // namespace zor
