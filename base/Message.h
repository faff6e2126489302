// A sentence for the operator from the plain-C++ cores, kept as its parts so that the editor can
// say it in the interface's language while the command-line tool prints it in English: a format
// marked with ZOR_TRANSLATE_NOOP (placeholders %1 to %9) and the values that go into it. A value
// is itself a message: a name or number as it stands (a literal, never translated), another
// sentence, or a system error number, which the editor words for the common errors and otherwise
// leaves in the system's own words.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {

class TMessage
{
public:
    // Nothing to say.
    TMessage() = default;
    // Words as they stand, never translated: a name, a number, what a peer said.
    TMessage(std::string literal) : Format(std::move(literal)) {}
    TMessage(const char *literal) : Format(literal) {}

    // The sentence format (marked with ZOR_TRANSLATE_NOOP in context) with args for %1, %2...
    static TMessage Tr(const char *context, const char *format, std::vector<TMessage> args = {});
    // Values put into a format that has no words of its own (lines joined): never looked up.
    static TMessage Fill(const char *format, std::vector<TMessage> args)
    {
        return Tr("", format, std::move(args));
    }
    // The system's words for error (an errno value): strerror's in English.
    static TMessage SystemError(int error);
    // A system error whose number means nothing to the editor (another platform's, a resolver's):
    // words only.
    static TMessage SystemError(std::string words) { return TMessage(std::move(words)); }

    // The English text, as the command-line tool prints it.
    std::string Text() const;
    bool empty() const { return Context == nullptr && Error == 0 && Format.empty(); }
    void clear() { *this = TMessage(); }

    // For a translator: the context and format of a sentence (Context null for a literal or a
    // system error, empty for a format of Fill), the values, and the error number (0 for none).
    const char *Context = nullptr;
    std::string Format;
    std::vector<TMessage> Args;
    int Error = 0;
};

// Puts args into format in place of %1 to %9 (a placeholder without its value stays as written, and
// so do "%%" and a lone "%"). Values are put in once: a "%1" inside a value is not replaced.
std::string FillPlaceholders(const std::string &format, const std::vector<std::string> &args);

// The English texts compared, as tests and the command-line tool see them. One overload per kind
// of text, so that none needs a conversion that another could equally take.
inline bool operator==(const TMessage &message, std::string_view text)
{
    const std::string english = message.Text();
    return std::string_view(english) == text;
}
inline bool operator==(const TMessage &message, const std::string &text)
{
    return message == std::string_view(text);
}
inline bool operator==(const TMessage &message, const char *text)
{
    return message == std::string_view(text);
}
inline bool operator==(const TMessage &a, const TMessage &b)
{
    return a.Text() == b.Text();
}

inline std::ostream &operator<<(std::ostream &out, const TMessage &message)
{
    return out << message.Text();
}

} // namespace zor
