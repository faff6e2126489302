// The rules that keep a command unit (a command symbol and the one or two tagged digits that
// follow it) whole while the operator edits: which selection a key should act on, and where a
// typed or pasted character may go. Plain C++; the editor window applies the results.
#pragma once

#include <cstdint>

namespace zor {

// The characters of a document as the rules see them. Positions count from 0; a position
// outside the text holds no character, which is neither tagged nor a digit.
class TUnitText
{
public:
    virtual ~TUnitText() = default;
    virtual int Length() const = 0;
    // The character at pos carries the symbol tag.
    virtual bool Tagged(int pos) const = 0;
    // The character at pos is a decimal digit.
    virtual bool Digit(int pos) const = 0;

    bool TaggedDigit(int pos) const { return Tagged(pos) && Digit(pos); }
    bool CommandSymbol(int pos) const { return Tagged(pos) && !Digit(pos); }
};

struct TSelection
{
    int Start = 0;
    int Length = 0;
    bool operator==(const TSelection &) const = default;
};

// A non-empty selection grown at both ends so that it holds whole units.
TSelection WidenSelection(const TUnitText &text, TSelection selection);

// What Delete with the caret at p and nothing selected should remove: the unit it would cut
// into, or an empty selection for the ordinary Delete.
TSelection DeleteSelection(const TUnitText &text, int p);

// The same for Backspace.
TSelection BackspaceSelection(const TUnitText &text, int p);

// Where typed (insert mode) or pasted text goes when the caret is at p: past the digits of a
// unit the caret stands in, never between a symbol and its digits.
int InsertPosition(const TUnitText &text, int p);

// Where a typed character goes in overwrite mode: past every unit from p on, so that it
// overwrites the first plain character or is appended, never a command.
int OverwritePosition(const TUnitText &text, int p);

// The keys that never need repairing (moving keys, modifiers, Tab, Escape).
enum class TEditKey { Insert, LeftAlone, Delete, Backspace, Other };

// What EditorKeyDown does before the key takes its ordinary effect.
struct TKeyAction
{
    bool ToggleMode = false;   // switch insert/overwrite, nothing else
    bool SetSelection = false; // select Selection (a caret when its length is 0)
    TSelection Selection;
    bool ResetTypingFormat = false; // a caret move before typing: reset a tagged typing format
};

TKeyAction EditorKeyRule(const TUnitText &text, TEditKey key, TSelection selection,
                         bool insertMode);

} // namespace zor
