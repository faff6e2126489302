#include "editor/UnitRules.h"

namespace zor {

TSelection WidenSelection(const TUnitText &t, TSelection s)
{
    if (s.Length <= 0)
        return s;
    int first = s.Start;
    int last = s.Start + s.Length - 1;
    if (t.TaggedDigit(last) && t.TaggedDigit(last + 1)) {
        ++last;
    } else if (t.CommandSymbol(last) && t.TaggedDigit(last + 1)) {
        ++last;
        if (t.TaggedDigit(last + 1))
            ++last;
    }
    if (t.TaggedDigit(first) && t.Tagged(first - 1)) {
        --first;
        if (t.Digit(first) && t.Tagged(first - 1))
            --first;
    }
    return {first, last - first + 1};
}

TSelection DeleteSelection(const TUnitText &t, int p)
{
    if (!t.Tagged(p))
        return {p, 0};
    if (t.CommandSymbol(p)) {
        int n = 1;
        if (t.TaggedDigit(p + 1)) {
            ++n;
            if (t.TaggedDigit(p + 2))
                ++n;
        }
        return {p, n};
    }
    if (t.CommandSymbol(p - 1))
        return {p - 1, t.TaggedDigit(p + 1) ? 3 : 2};
    if (t.TaggedDigit(p - 1))
        return {p - 2, 3};
    return {p, 1};
}

TSelection BackspaceSelection(const TUnitText &t, int p)
{
    if (!t.Tagged(p - 1))
        return {p, 0};
    if (t.CommandSymbol(p - 1)) {
        if (!t.TaggedDigit(p))
            return {p, 0};
        return {p - 1, t.TaggedDigit(p + 1) ? 3 : 2};
    }
    if (t.CommandSymbol(p - 2))
        return {p - 2, t.TaggedDigit(p) ? 3 : 2};
    if (t.TaggedDigit(p - 2))
        return {p - 3, 3};
    return {p - 1, 1};
}

int InsertPosition(const TUnitText &t, int p)
{
    if (t.TaggedDigit(p)) {
        ++p;
        if (t.TaggedDigit(p))
            ++p;
    }
    return p;
}

int OverwritePosition(const TUnitText &t, int p)
{
    while (p < t.Length() && t.Tagged(p)) {
        if (t.TaggedDigit(p)) {
            p = InsertPosition(t, p);
        } else {
            ++p;
            for (int i = 0; i < 2 && t.TaggedDigit(p); ++i)
                ++p;
        }
    }
    return p;
}

TKeyAction EditorKeyRule(const TUnitText &t, TEditKey key, TSelection s, bool insertMode)
{
    TKeyAction a;
    switch (key) {
    case TEditKey::Insert:
        a.ToggleMode = true;
        return a;
    case TEditKey::LeftAlone:
        return a;
    default:
        break;
    }
    if (s.Length > 0) {
        a.SetSelection = true;
        a.Selection = WidenSelection(t, s);
        return a;
    }
    const int p = s.Start;
    if (key == TEditKey::Delete) {
        a.SetSelection = true;
        a.Selection = DeleteSelection(t, p);
        return a;
    }
    if (key == TEditKey::Backspace) {
        a.SetSelection = true;
        a.Selection = BackspaceSelection(t, p);
        return a;
    }
    a.SetSelection = true;
    a.Selection = {insertMode ? InsertPosition(t, p) : OverwritePosition(t, p), 0};
    a.ResetTypingFormat = true;
    return a;
}

} // namespace zor
