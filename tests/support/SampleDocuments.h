// Small documents more than one suite reads or writes.
#pragma once

#include "base/Document.h"

namespace zor::test {

// The F3 symbol (a tagged character of the symbol font), then the plain text Hi; its program
// text is "F3T0\x1FHi\x1F".
inline doc::Document SymbolF3AndHi()
{
    doc::CharFormat symbol;
    symbol.Face = "ZorSymbolFont";
    symbol.Charset = doc::SymbolCharset;
    symbol.Colour = 0x010000;
    doc::Document doc;
    doc.Append(symbol, U'=');
    doc.Append(doc::DefaultFormat(), U"Hi");
    return doc;
}

} // namespace zor::test
