// A settings (INI) file with the semantics operators know from Windows profile files:
// section and key names compare without regard to case, values are raw strings (backslashes and
// all), integers are read the way the Windows call reads them, and writing a key keeps every
// other section, key, comment and the order of the lines.
#pragma once

#include "base/BoundedRead.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {

class TProfileFile
{
public:
    TProfileFile() = default;

    // Parses the bytes of a file; never fails (lines that are neither sections nor keys are kept
    // as they are). A UTF-8 byte-order mark is skipped and a file that starts with a UTF-16 mark
    // (either byte order) is read as UTF-16; both are written back the way they came.
    explicit TProfileFile(std::string_view text);

    // Loads a file. A missing or unreadable file gives an empty profile and false; so does
    // anything that is no settings file: a file larger than MaxFileBytes, a folder, a device or
    // a FIFO, which are not read at all (nor waited for) and are named in *error (left empty for
    // a file that is merely missing or unreadable, which saving may create or replace).
    bool Load(const std::string &path, std::string *error = nullptr);

    // Loads a file as Load does; returns how the read went, for a caller to whom every failure
    // matters (a settings file named on a command line).
    TFileRead Read(const std::string &path);

    // Why path could not be loaded, naming it: "PATH is larger than 64 KB and is not a settings
    // file", "cannot read PATH: No such file or directory". Empty for a successful read.
    static TMessage Problem(const std::string &path, const TFileRead &read);

    // Writes the profile atomically. False, with a reason in *error, when it could not be written.
    bool Save(const std::string &path, std::string *error = nullptr) const;

    // The lines as UTF-8, without a byte-order mark.
    std::string Text() const;

    // The bytes Save writes: Text() in the file's own encoding, with its mark.
    std::string Bytes() const;

    // The value as stored, without the blanks around it and without one pair of enclosing quotes;
    // at most 2047 characters. Default when the section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // Decimal, or hexadecimal after "0x"; leading zeros are decimal; an optional sign; reading
    // stops at the first character that is not a digit. Default when the key is missing or the
    // value starts with no digit at all.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;

    // An integer, non-zero meaning true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the first occurrence of the key, or adds it at the end of its section, adding the
    // section at the end of the file when it is missing.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // The keys of a section in the order of the file, each once (the first spelling of a key
    // written twice); empty when the section is missing.
    std::vector<std::string> Keys(std::string_view section) const;

    // Every key line of a section in the order of the file with its value as ReadString gives
    // it, repeats included (a key written twice, perhaps in another case, is there twice).
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

    // Removes every line of the key in the section, keeping all else. False when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);

    static constexpr std::size_t MaxStringLength = 2047;
    // A settings file holds a few short lines; anything this large is some other file, and
    // reading it would cost memory out of all proportion (a 10 MB file of empty lines).
    static constexpr std::size_t MaxFileBytes = 64 * 1024;

private:
    // Index of the line that holds the key's value, or -1.
    long FindKey(std::string_view section, std::string_view key) const;

    enum class TEncoding { Utf8, Utf8WithMark, Utf16Le, Utf16Be };

    std::vector<std::string> Lines;
    std::string LineEnd = "\n";
    TEncoding Encoding = TEncoding::Utf8;
};

// Reads an integer the way the profile file does; false when there is no digit to read.
bool ParseProfileInteger(std::string_view text, std::int32_t *value);

} // namespace zor
