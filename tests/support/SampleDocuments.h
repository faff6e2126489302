// Small documents more than one suite reads or writes.
#pragma once

#include "base/Document.h"

namespace zor::test {

// The F3 symbol (a tagged character of the symbol font), then the plain text Hi; its program
// text is "F3T0\x1FHi\x1F".
inline rtf::Document SymbolF3AndHi()
{
    rtf::CharFormat symbol;
    symbol.Face = "ZorSymbolFont";
    symbol.Charset = rtf::SymbolCharset;
    symbol.Colour = 0x010000;
    rtf::Document doc;
    doc.Append(symbol, U'=');
    doc.Append(rtf::DefaultFormat(), U"Hi");
    return doc;
}

} // namespace zor::test
