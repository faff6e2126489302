// The one way a document file becomes a document: the editor and every zor subcommand read
// files through here, so they accept and refuse the same files.
#pragma once

#include "base/BoundedRead.h"
#include "editor/rtf/RtfCodec.h"

#include <string>
#include <string_view>

namespace zor::rtf {

struct DocumentFile
{
    Document Doc;
    // Why the file could not be read; Doc is then empty.
    TFileRead File;
    // Why the bytes were refused although the file was read (RTF nested deeper than
    // MaxGroupDepth: what a reader cannot follow is not shown as text either); Doc is then empty.
    std::string Error;
    // Set when the document was read with something amiss (a file that ends before its last
    // group closes, as a cut-off download does); Doc holds what was there.
    std::string Warning;
    // Error as marked for translation, as in ReadResult.
    std::string_view ErrorSource;
    int ErrorNumber = 0;

    bool Ok() const { return File.Ok() && Error.empty(); }
    // Why the file gives no document, for the operator: the file's reason or the reader's.
    std::string Reason() const { return File.Ok() ? Error : File.Reason(); }
};

// Reads the file at path, held to MaxInputBytes and to regular files (ReadFileBounded), as RTF
// when it starts like RTF and as plain text otherwise (Read).
DocumentFile ReadDocumentFile(const std::string &path);

} // namespace zor::rtf
