// UTF-8 helpers of the codec. Internal.
#pragma once

#include <string>
#include <string_view>

namespace zor::rtf::detail {

// Appends ch as UTF-8; surrogates and values above U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string &out, char32_t ch);

// Decodes strict UTF-8 (no overlong forms, surrogates or values above U+10FFFF) into out.
// Returns false, with out in an unspecified state, at the first invalid sequence.
bool DecodeUtf8(std::string_view in, std::u32string &out);

} // namespace zor::rtf::detail
