// The questions before a transfer to the panel and the messages after one, shown through the
// dialogs interface (ui/Dialogs.h). The transfer itself runs in TTransferRunner
// (comm/TransferRunner.h).
#pragma once

#include "base/Message.h"
#include "commands/SendCheck.h"

#include <QString>
#include <cstdint>
#include <string>

class QWidget;

namespace zor {

class TVstup;
struct TPanelOutcome;

// How many unshowable characters the send question lists (all are counted).
inline constexpr std::size_t ListedUnshowable = 5;

// A result code's message (comm/Results.h) in the operator's language, its line breaks as '\n';
// "result N" for a code without one.
QString ResultMessageText(int code);

// The warning about characters in the symbol font without a command colour; empty for none.
QString SymbolFontTextText(const TSymbolFontText &found);

// Asks before the document goes to the panel (Send, Simulation, Export animation) when it holds
// characters in the symbol font without a command colour: they look like commands but go as the
// plain characters they are. question is the whole closing question ("Send anyway?"). True
// when there are none or the operator goes on.
bool ConfirmSymbolFontText(QWidget *parent, const TSymbolFontText &found, const QString &question);

// Asks before a send only when something is off, from what the translation found
// (TranslateForSend with ListedUnshowable): symbol-font text as above, then an empty program (it
// would clear the panel) or text characters the panel cannot show (the first ones are listed).
// True when the program should go.
bool ConfirmSend(QWidget *parent, const TSendCheck &check);

// The message box of a result code (comm/Results.h), "Information" or "Error"; nothing for a code
// that has none. cause is one more line for the operator (why a port could not be opened).
void ShowResultBox(QWidget *parent, int code, const TMessage &cause = {});

// Tells how a transfer ended: its result (or "Transfer cancelled"), then a log not written.
void ShowTransferResult(QWidget *parent, const TPanelOutcome &result);

// Runs the Numeric fields dialog until both counters are numbers, saying "Only numeric value"
// after each other try. Fills message (NumericMessageLength bytes) and returns true; false when
// the operator cancels.
bool AskNumericMessage(QWidget *parent, TVstup &form, std::uint8_t *message);

} // namespace zor
