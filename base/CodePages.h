// Code pages behind RTF charsets: decoding the bytes of \'hh and 8-bit text, and encoding
// characters back into bytes. The RTF codec reads and writes with them; the translation into
// program text encodes with them, so both agree on every byte.
#pragma once

#include <cstdint>

namespace zor::doc {

// Windows' number for the pseudo code page of symbol fonts: byte b is character b.
inline constexpr int SymbolCodePage = 42;

// The code page that text in a font of this charset uses; charsets that name none (1, the
// default charset, and unknown numbers) use fallback, the document's \ansicpg.
int CodePageForCharset(int charset, int fallback);

// The charset whose code page this is (238 for 1250, ...); 1 (the default charset) when none is.
int CharsetForCodePage(int codePage);

// True for the code pages of Windows (874, 1250 to 1258 and the East-Asian ones). Other pages
// (the DOS pages 437, 850 and 852, the Macintosh pages 10000 and 10029) are read but never
// written: what other programs make of them varies.
bool IsWindowsCodePage(int codePage);

// True for code pages where bytes from 0x81 up may start a two-byte character.
bool IsDoubleByte(int codePage);
bool IsLeadByte(int codePage, unsigned char byte);

// The character of a byte in a single-byte or symbol code page: the Windows pages, 437, 850,
// 852, 10000 (Mac Roman) and 10029 (Mac Central European). Unknown code pages decode as
// Windows-1252, undefined bytes as U+FFFD. Double-byte pages give '?' for bytes from 0x80 up.
char32_t DecodeByte(int codePage, unsigned char byte);

// The byte of ch in the code page, or -1 when the page has none. ASCII (below 0x80) is its own
// byte in every page; double-byte pages encode nothing else.
int EncodeChar(int codePage, char32_t ch);

} // namespace zor::doc
