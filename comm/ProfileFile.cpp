#include "comm/ProfileFile.h"

#include "base/AtomicFile.h"
#include "base/TranslateNoop.h"
#include "base/Utf8.h"

#include <algorithm>

namespace zor {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

// The section name of a "[name]" line, or false when the line is no section header.
bool SectionName(std::string_view line, std::string_view *name)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return false;
    auto close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    *name = Trim(line.substr(1, close - 1));
    return true;
}

bool IsComment(std::string_view line)
{
    line = Trim(line);
    return !line.empty() && line.front() == ';';
}

bool KeyOf(std::string_view line, std::string_view *key, std::string_view *value)
{
    if (IsComment(line))
        return false;
    auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    *key = Trim(line.substr(0, eq));
    *value = line.substr(eq + 1);
    return true;
}

// A value as stored: without the blanks around it and one pair of enclosing quotes, cut.
std::string ValueOf(std::string_view value)
{
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, TProfileFile::MaxStringLength));
}

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

// UTF-16 in the given byte order to UTF-8; a lone surrogate or an odd last byte becomes U+FFFD
// so that the rest of the file still reads.
std::string FromUtf16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        doc::AppendUtf8(out, c); // writes a surrogate left alone as U+FFFD
    }
    if (i < bytes.size())
        doc::AppendUtf8(out, 0xFFFD);
    return out;
}

std::string ToUtf16(std::string_view text, bool bigEndian)
{
    // A value written with bytes that are no UTF-8 loses only those bytes, each marked U+FFFD.
    std::u32string chars;
    while (!text.empty()) {
        std::u32string part;
        const bool whole = doc::DecodeUtf8(text, part);
        chars += part;
        if (whole)
            break;
        std::string valid;
        for (char32_t c : part)
            doc::AppendUtf8(valid, c);
        chars.push_back(0xFFFD);
        text.remove_prefix(valid.size() + 1);
    }
    std::string out;
    const auto put = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    put(0xFEFF);
    for (char32_t c : chars) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

} // namespace

bool ParseProfileInteger(std::string_view text, std::int32_t *value)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Unsigned arithmetic: an overlong number wraps instead of overflowing.
    std::uint32_t result = 0;
    std::size_t digits = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (char c : text.substr(2)) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            result = result * 16 + static_cast<std::uint32_t>(d);
            ++digits;
        }
        if (digits == 0)
            digits = 1; // "0x" alone reads as the 0 in front of the x
    } else {
        for (char c : text) {
            if (c < '0' || c > '9')
                break;
            result = result * 10 + static_cast<std::uint32_t>(c - '0');
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (negative)
        result = 0u - result;
    *value = static_cast<std::int32_t>(result);
    return true;
}

TProfileFile::TProfileFile(std::string_view bytes)
{
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        Encoding = bytes[0] == '\xFE' ? TEncoding::Utf16Be : TEncoding::Utf16Le;
        decoded = FromUtf16(bytes.substr(2), Encoding == TEncoding::Utf16Be);
        text = decoded;
    }
    // Editors that write a mark may write it twice; none of it belongs to the first line.
    while (text.substr(0, Utf8Mark.size()) == Utf8Mark) {
        if (Encoding == TEncoding::Utf8)
            Encoding = TEncoding::Utf8WithMark;
        text.remove_prefix(Utf8Mark.size());
    }
    if (text.find("\r\n") != std::string_view::npos)
        LineEnd = "\r\n";
    while (!text.empty()) {
        auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        Lines.emplace_back(line);
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }
}

TFileRead TProfileFile::Read(const std::string &path)
{
    *this = TProfileFile();
    std::string data;
    const TFileRead read = ReadFileBounded(path, MaxFileBytes, &data);
    if (read.Ok())
        *this = TProfileFile(data);
    return read;
}

bool TProfileFile::Load(const std::string &path, std::string *error)
{
    const TFileRead read = Read(path);
    if (error) {
        const bool refused =
            read.Status == TFileReadStatus::TooLarge || read.Status == TFileReadStatus::NotRegular;
        *error = refused ? Problem(path, read).Text() : std::string();
    }
    return read.Ok();
}

TMessage TProfileFile::Problem(const std::string &path, const TFileRead &read)
{
    if (read.Ok())
        return {};
    if (read.Status == TFileReadStatus::TooLarge)
        return TMessage::Tr(
            "ProfileFile",
            ZOR_TRANSLATE_NOOP("ProfileFile", "%1 is larger than %2 KB and is not a settings file"),
            {path, std::to_string(MaxFileBytes / 1024)});
    return TMessage::Tr("ProfileFile", ZOR_TRANSLATE_NOOP("ProfileFile", "cannot read %1: %2"),
                        {path, read.Message()});
}

std::string TProfileFile::Text() const
{
    std::string out;
    for (const auto &line : Lines) {
        out += line;
        out += LineEnd;
    }
    return out;
}

std::string TProfileFile::Bytes() const
{
    switch (Encoding) {
    case TEncoding::Utf8WithMark:
        return std::string(Utf8Mark) + Text();
    case TEncoding::Utf16Le:
    case TEncoding::Utf16Be:
        return ToUtf16(Text(), Encoding == TEncoding::Utf16Be);
    case TEncoding::Utf8:
        break;
    }
    return Text();
}

bool TProfileFile::Save(const std::string &path, std::string *error) const
{
    return WriteFileAtomically(path, Bytes(), error);
}

long TProfileFile::FindKey(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        std::string_view name, k, v;
        if (SectionName(Lines[i], &name))
            inSection = SameName(name, section);
        else if (inSection && KeyOf(Lines[i], &k, &v) && SameName(k, key))
            return static_cast<long>(i);
    }
    return -1;
}

std::vector<std::string> TProfileFile::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    bool inSection = false;
    for (const std::string &line : Lines) {
        std::string_view name, k, v;
        if (SectionName(line, &name))
            inSection = SameName(name, section);
        else if (inSection && KeyOf(line, &k, &v) && !k.empty() &&
                 std::none_of(keys.begin(), keys.end(),
                              [k](const std::string &known) { return SameName(known, k); }))
            keys.emplace_back(k);
    }
    return keys;
}

std::vector<std::pair<std::string, std::string>>
TProfileFile::Entries(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> entries;
    bool inSection = false;
    for (const std::string &line : Lines) {
        std::string_view name, k, v;
        if (SectionName(line, &name))
            inSection = SameName(name, section);
        else if (inSection && KeyOf(line, &k, &v) && !k.empty())
            entries.emplace_back(k, ValueOf(v));
    }
    return entries;
}

bool TProfileFile::DeleteKey(std::string_view section, std::string_view key)
{
    bool deleted = false;
    for (long i; (i = FindKey(section, key)) >= 0; deleted = true)
        Lines.erase(Lines.begin() + i);
    return deleted;
}

std::string TProfileFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view def) const
{
    long i = FindKey(section, key);
    if (i < 0)
        return std::string(def.substr(0, MaxStringLength));
    std::string_view k, value;
    KeyOf(Lines[static_cast<std::size_t>(i)], &k, &value);
    return ValueOf(value);
}

std::int32_t TProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                       std::int32_t def) const
{
    if (FindKey(section, key) < 0)
        return def;
    std::int32_t value;
    return ParseProfileInteger(ReadString(section, key, {}), &value) ? value : def;
}

bool TProfileFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TProfileFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value)
{
    if (long i = FindKey(section, key); i >= 0) {
        std::string &line = Lines[static_cast<std::size_t>(i)];
        line = std::string(Trim(line.substr(0, line.find('=')))) + "=" + std::string(value);
        return;
    }
    // Add the key after the last key line of the section, before any blank lines that end it.
    long lastKeyLine = -1;
    bool inSection = false;
    bool found = false;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        std::string_view name;
        if (SectionName(Lines[i], &name)) {
            if (inSection)
                break;
            inSection = SameName(name, section);
            if (inSection) {
                found = true;
                lastKeyLine = static_cast<long>(i);
            }
        } else if (inSection && !Trim(Lines[i]).empty()) {
            lastKeyLine = static_cast<long>(i);
        }
    }
    std::string entry = std::string(key) + "=" + std::string(value);
    if (found) {
        Lines.insert(Lines.begin() + lastKeyLine + 1, std::move(entry));
        return;
    }
    if (!Lines.empty() && !Trim(Lines.back()).empty())
        Lines.emplace_back();
    Lines.push_back("[" + std::string(section) + "]");
    Lines.push_back(std::move(entry));
}

void TProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TProfileFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace zor
