#include "editor/UnitRules.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

// A document written as a string: capitals are command symbols, digits tagged digits, small
// letters plain text and '~' a plain digit.
class Text : public TUnitText
{
public:
    explicit Text(std::string s) : S(std::move(s)) {}
    int Length() const override { return int(S.size()); }
    bool Tagged(int p) const override { return In(p) && (isupper(S[p]) || isdigit(S[p])); }
    bool Digit(int p) const override { return In(p) && (isdigit(S[p]) || S[p] == '~'); }

private:
    bool In(int p) const { return p >= 0 && p < Length(); }
    std::string S;
};

TEST(UnitRules, SelectionsGrowToWholeUnitsAtBothEnds)
{
    // From between a symbol and its digits to the middle of another unit.
    EXPECT_EQ(WidenSelection(Text("aW12bR34c"), {2, 4}), (TSelection{1, 7}));
    // Ending on a symbol takes its digits; ending on a first digit takes the second.
    EXPECT_EQ(WidenSelection(Text("aW12b"), {0, 2}), (TSelection{0, 4}));
    EXPECT_EQ(WidenSelection(Text("aW12b"), {0, 3}), (TSelection{0, 4}));
    // A symbol directly followed by another symbol: nothing more at the end.
    EXPECT_EQ(WidenSelection(Text("aFGb"), {0, 2}), (TSelection{0, 2}));
    // Starting on a second digit reaches back over the first digit and the symbol.
    EXPECT_EQ(WidenSelection(Text("aW12b"), {3, 2}), (TSelection{1, 4}));
    EXPECT_EQ(WidenSelection(Text("ab"), {0, 0}), (TSelection{0, 0}));
}

TEST(UnitRules, DeleteTakesTheUnitItWouldCutInto)
{
    EXPECT_EQ(DeleteSelection(Text("aW12b"), 0), (TSelection{0, 0})) << "plain: ordinary Delete";
    EXPECT_EQ(DeleteSelection(Text("aW12b"), 1), (TSelection{1, 3}));
    EXPECT_EQ(DeleteSelection(Text("aW12b"), 2), (TSelection{1, 3}));
    EXPECT_EQ(DeleteSelection(Text("aW12b"), 3), (TSelection{1, 3}));
    EXPECT_EQ(DeleteSelection(Text("aW1b"), 2), (TSelection{1, 2}));
    EXPECT_EQ(DeleteSelection(Text("a5b"), 1), (TSelection{1, 1})) << "a stray tagged digit";
    EXPECT_EQ(DeleteSelection(Text("ab"), 2), (TSelection{2, 0})) << "past the end";
}

TEST(UnitRules, BackspaceTakesTheUnitItWouldCutInto)
{
    EXPECT_EQ(BackspaceSelection(Text("aW12b"), 1), (TSelection{1, 0}));
    // Between the symbol and its first digit: the whole unit.
    EXPECT_EQ(BackspaceSelection(Text("aW12b"), 2), (TSelection{1, 3}));
    EXPECT_EQ(BackspaceSelection(Text("aW12b"), 3), (TSelection{1, 3}));
    EXPECT_EQ(BackspaceSelection(Text("aW12b"), 4), (TSelection{1, 3}));
    EXPECT_EQ(BackspaceSelection(Text("aFb"), 2), (TSelection{2, 0})) << "a lone symbol";
    EXPECT_EQ(BackspaceSelection(Text("a5b"), 2), (TSelection{1, 1}));
    EXPECT_EQ(BackspaceSelection(Text("ab"), 0), (TSelection{0, 0}));
}

TEST(UnitRules, TypingNeverLandsInsideOrOnAUnit)
{
    EXPECT_EQ(InsertPosition(Text("aW12b"), 3), 4) << "between the two digits";
    EXPECT_EQ(InsertPosition(Text("aW12b"), 2), 4);
    EXPECT_EQ(InsertPosition(Text("aW12b"), 1), 1) << "in front of a symbol is fine";
    EXPECT_EQ(OverwritePosition(Text("W12R3abc"), 0), 5) << "two units, then the a";
    EXPECT_EQ(OverwritePosition(Text("aW12"), 1), 4) << "appended at the end";
    EXPECT_EQ(OverwritePosition(Text("a~b"), 1), 1) << "plain digits are text";
}

TEST(UnitRules, KeyRuleAppliesTheFirstMatchingRule)
{
    const Text t("aW12bc");
    EXPECT_TRUE(EditorKeyRule(t, TEditKey::Insert, {2, 0}, true).ToggleMode);
    EXPECT_FALSE(EditorKeyRule(t, TEditKey::LeftAlone, {2, 0}, true).SetSelection);
    TKeyAction widen = EditorKeyRule(t, TEditKey::Delete, {2, 3}, true);
    EXPECT_EQ(widen.Selection, (TSelection{1, 4})) << "a selection is widened, whatever the key";
    EXPECT_EQ(EditorKeyRule(t, TEditKey::Backspace, {2, 0}, true).Selection, (TSelection{1, 3}));
    TKeyAction type = EditorKeyRule(t, TEditKey::Other, {3, 0}, true);
    EXPECT_EQ(type.Selection, (TSelection{4, 0}));
    EXPECT_TRUE(type.ResetTypingFormat);
    EXPECT_EQ(EditorKeyRule(t, TEditKey::Other, {1, 0}, false).Selection, (TSelection{4, 0}));
}

} // namespace
} // namespace zor
