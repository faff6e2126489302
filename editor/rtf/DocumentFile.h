// The one way a document file becomes a document: the editor and every zor subcommand read
// files through here, so they accept and refuse the same files.
#pragma once

#include "base/BoundedRead.h"
#include "editor/rtf/RtfCodec.h"

#include <string>
#include <string_view>

namespace zor::rtf {

// Bytes of a document file as a document: RTF when the RTF reader takes them, otherwise the same
// bytes as plain text, so that what the reader refuses is still shown as the operator's text.
Document ReadDocumentBytes(std::string_view bytes);

struct DocumentFile
{
    Document Doc;
    // Why the file could not be read; Doc is then empty.
    TFileRead File;

    bool Ok() const { return File.Ok(); }
};

// Reads the file at path, held to MaxInputBytes and to regular files (ReadFileBounded).
DocumentFile ReadDocumentFile(const std::string &path);

} // namespace zor::rtf
