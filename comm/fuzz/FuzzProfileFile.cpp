// The settings file read, changed and written back. The input's first line names the change
// ("section<TAB>key<TAB>value"); the rest is the file. After writing the key and reading the
// text again, the key reads back as written, and every other section, key and comment is
// unchanged: the lines of the file are all still there, in order, save the one that held the
// key, with at most a new section header, a blank line before it and the key added. Stray
// carriage returns at line ends may change, as the file's line-end style is settled.
#include "base/Utf8.h"
#include "comm/ProfileFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos)
            nl = text.size();
        std::string line = text.substr(start, nl - start);
        // Which carriage returns end a line depends on the file's line-end style, which a
        // write may settle differently for a file of mixed ends; they carry nothing.
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = nl + 1;
    }
    return lines;
}

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// Names and values the writer is meant to take: one line, no blanks at either end, no
// characters that would make the line something else.
bool Writable(std::string_view s, std::string_view forbidden)
{
    if (s.empty() || Blank(s.front()) || Blank(s.back()) || s.front() == ';' || s.front() == '[')
        return false;
    return s.find_first_of(forbidden) == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t nl = input.find('\n');
    if (nl == std::string_view::npos)
        return 0;
    const std::string_view change = input.substr(0, nl);
    const std::string_view file = input.substr(nl + 1);
    const std::size_t tab1 = change.find('\t');
    const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : change.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos)
        return 0;
    const std::string_view section = change.substr(0, tab1);
    const std::string_view key = change.substr(tab1 + 1, tab2 - tab1 - 1);
    const std::string_view value = change.substr(tab2 + 1);

    zor::TProfileFile profile(file);
    const std::string before = profile.Text();
    // Reading what is saved (the file's own encoding and mark written back) gives the same
    // lines. The text alone is no file: its first line may begin with what reads as a mark.
    if (Lines(zor::TProfileFile(profile.Bytes()).Text()) != Lines(before))
        std::abort();
    if (!Writable(section, "]\r\n") || !Writable(key, "=\r\n") ||
        value.find_first_of("\r\n") != std::string_view::npos ||
        value.size() > zor::TProfileFile::MaxStringLength)
        return 0;

    // A UTF-16 file holds text only: bytes that are no UTF-8 are saved as U+FFFD, by design.
    const bool utf16 = file.substr(0, 2) == "\xFF\xFE" || file.substr(0, 2) == "\xFE\xFF";
    std::u32string decoded;
    if (utf16 && !(zor::doc::DecodeUtf8(section, decoded) && zor::doc::DecodeUtf8(key, decoded) &&
                   zor::doc::DecodeUtf8(value, decoded)))
        return 0;
    profile.WriteString(section, key, value);
    const std::string after = profile.Text();
    const zor::TProfileFile reread(profile.Bytes());
    if (Lines(reread.Text()) != Lines(after))
        std::abort();

    // The value reads back as written unless it is one the reader unquotes or trims.
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    const bool trimmed = !value.empty() && (Blank(value.front()) || Blank(value.back()));
    if (!quoted && !trimmed && reread.ReadString(section, key, "\x01") != value)
        std::abort();

    // Every old line is kept in order; the new ones are the key's line, a section header and a
    // blank line before it.
    const std::vector<std::string> old = Lines(before);
    const std::vector<std::string> now = Lines(after);
    std::size_t first = 0;
    while (first < old.size() && first < now.size() && old[first] == now[first])
        ++first;
    if (now.size() == old.size()) {
        // The key's line replaced in place, or nothing changed.
        for (std::size_t k = first + 1; k < old.size(); ++k)
            if (old[k] != now[k])
                std::abort();
    } else if (now.size() == old.size() + 1) {
        // The key added inside its section.
        for (std::size_t k = first; k < old.size(); ++k)
            if (old[k] != now[k + 1])
                std::abort();
    } else if (now.size() > old.size() + 3 || first != old.size()) {
        // Anything more is a new section at the end, after the old file.
        std::abort();
    }
    return 0;
}
