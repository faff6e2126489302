// The main window's side of a transfer to the panel: the questions before one and the messages
// after one. The transfer itself runs in TTransferRunner (comm/TransferRunner.h).
#pragma once

#include "base/Document.h"

#include <QString>
#include <cstdint>
#include <string>

class QWidget;

namespace zor {

class TVstup;
struct TTransferResult;

// Asks before a send only when something is off: an empty program (it would clear the panel),
// or text characters the panel cannot show (the first five are listed). True when the program
// should go.
bool ConfirmSend(QWidget *parent, const rtf::Document &document, const std::string &program);

// Asks before the document goes to the panel (Send, Simulation, Export animation) when it holds
// characters in the symbol font without a command colour: they look like commands but go as the
// plain characters they are. action is the command's verb ("Send", "Simulate", "Export"). True
// when there are none or the operator goes on.
bool ConfirmSymbolFontText(QWidget *parent, const rtf::Document &document, const QString &action);

// The message box of a result code (comm/Results.h), "Information" or "Error"; nothing for a code
// that has none. cause is one more line for the operator (why a port could not be opened).
void ShowResultBox(QWidget *parent, int code, const std::string &cause = {});

// Tells how a transfer ended: its result (or "Transfer cancelled"), then a log not written.
void ShowTransferResult(QWidget *parent, const TTransferResult &result);

// Runs the Numeric fields dialog until both counters are numbers, saying "Only numeric value"
// after each other try. Fills message (NumericMessageLength bytes) and returns true; false when
// the operator cancels.
bool AskNumericMessage(QWidget *parent, TVstup &form, std::uint8_t *message);

} // namespace zor
