// What the subcommands read: a document file, translated the way the editor's Send and
// Simulation commands translate it, or a program file already translated.
#pragma once

#include "base/BoundedRead.h"
#include "comm/Results.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/DocumentFile.h"
#include "tools/zor/Output.h"
#include "tools/zor/Subcommand.h"

#include <string>

namespace zor::tool {

// Reads a program file into *program, held to the same bounds as a document. Returns 0, or the
// exit status after saying why on stderr.
inline int ReadProgramFile(std::string_view command, const std::string &path, std::string *program)
{
    const TFileRead read = ReadFileBounded(path, rtf::MaxInputBytes, program);
    if (!read.Ok())
        return Fail(command, "cannot read " + path + ": " + read.Reason(), 1);
    return 0;
}

// Says on stderr what the operator should know about a document that was read: a file cut off
// before its last group closes, characters in the symbol font that are not commands.
inline void WarnAboutDocument(std::string_view command, const std::string &path,
                              const rtf::DocumentFile &file)
{
    if (!file.Warning.empty())
        Fail(command, "warning: " + path + ": " + file.Warning, 0);
    const std::string symbols = SymbolFontTextWarning(FindSymbolFontText(file.Doc));
    if (!symbols.empty())
        Fail(command, "warning: " + path + ": " + symbols, 0);
}

// Reads and translates the document at path into *program, and keeps the document in *document
// when given. Returns 0, or the exit status after saying why on stderr (8 with the result message
// when the segment limit is exceeded); warnings go to stderr too.
inline int TranslateDocumentFile(std::string_view command, const std::string &path,
                                 std::string *program, doc::Document *document = nullptr)
{
    rtf::DocumentFile file = rtf::ReadDocumentFile(path);
    if (!file.Ok())
        return Fail(command, "cannot read " + path + ": " + file.Reason(), 1);
    WarnAboutDocument(command, path, file);
    TTranslation t = TranslateDocument(file.Doc);
    if (t.TooManySegments()) {
        Print(stderr, "%s\n", ResultText(ResultTooManySegments).c_str());
        return -ResultTooManySegments;
    }
    *program = std::move(t.Program);
    if (document)
        *document = std::move(file.Doc);
    return 0;
}

} // namespace zor::tool
