#include "comm/Results.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(ResultText, BreaksLinesForShowingAndNamesCodesWithoutAMessage)
{
    EXPECT_EQ(ResultText(ResultOk), "Communication O.K.");
    EXPECT_EQ(ResultText(ResultTooManySegments),
              "Number of text segments     \nexceed internal limit (100).\nTry,please,reduce "
              "number    \nof text segments");
    EXPECT_EQ(ResultText(ResultCancelled), "result -9");
    EXPECT_EQ(ResultText(7), "result 7");
}

} // namespace
} // namespace zor
