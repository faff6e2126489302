#include "editor/rtf/DocumentFile.h"

namespace zor::rtf {

DocumentFile ReadDocumentFile(const std::string &path)
{
    DocumentFile file;
    std::string bytes;
    file.File = ReadFileBounded(path, MaxInputBytes, &bytes);
    if (!file.Ok())
        return file;
    ReadResult read = Read(bytes);
    file.Error = std::move(read.Error);
    file.Warning = std::move(read.Warning);
    file.ErrorSource = read.ErrorSource;
    file.ErrorNumber = read.ErrorNumber;
    file.Doc = std::move(read.Doc);
    return file;
}

} // namespace zor::rtf
