// What a command button writes into the active document.
#pragma once

#include <QString>

namespace zor {

struct TCommandButton;
class TVloz;

// The unit button writes: its symbol, followed for a numbered command by the number the operator
// enters in the Enter Parameter dialog form. A symbol left without its digits would be another
// command, so the unit is inserted whole or not at all. Empty when the operator cancels, or when
// a numbered command has no form to ask with.
QString CommandUnit(const TCommandButton &button, TVloz *form);

} // namespace zor
