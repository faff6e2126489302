#include "editor/rtf/DocumentFile.h"

namespace zor::rtf {

Document ReadDocumentBytes(std::string_view bytes)
{
    ReadResult result = Read(bytes);
    if (result.Ok())
        return std::move(result.Doc);
    return ReadPlainText(bytes);
}

DocumentFile ReadDocumentFile(const std::string &path)
{
    DocumentFile file;
    std::string bytes;
    file.File = ReadFileBounded(path, MaxInputBytes, &bytes);
    if (file.Ok())
        file.Doc = ReadDocumentBytes(bytes);
    return file;
}

} // namespace zor::rtf
