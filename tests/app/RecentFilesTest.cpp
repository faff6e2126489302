#include "app/RecentFiles.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFilesTest, KeepsNewestFirstWithoutRepeatsAndAtMostEight)
{
    TRecentFiles recent;
    for (int i = 1; i <= 10; ++i)
        recent.Add("/d/" + std::to_string(i) + ".zor");
    EXPECT_EQ(recent.Items(), Names({"/d/10.zor", "/d/9.zor", "/d/8.zor", "/d/7.zor", "/d/6.zor",
                                     "/d/5.zor", "/d/4.zor", "/d/3.zor"}));

    // Opening one again moves it to the top instead of listing it twice or dropping another.
    recent.Add("/d/5.zor");
    EXPECT_EQ(recent.Items(), Names({"/d/5.zor", "/d/10.zor", "/d/9.zor", "/d/8.zor", "/d/7.zor",
                                     "/d/6.zor", "/d/4.zor", "/d/3.zor"}));

    recent.Add("");
    EXPECT_EQ(recent.Items().size(), 8u);
    EXPECT_TRUE(recent.Remove("/d/9.zor"));
    EXPECT_FALSE(recent.Remove("/d/9.zor"));
    EXPECT_EQ(recent.Items()[2], "/d/8.zor");
}

TEST(RecentFilesTest, SurvivesTheSettingsFileAndForgetsRemovedEntries)
{
    TProfileFile profile("[PC]\nPort=2\n");
    TRecentFiles recent;
    recent.Add("/d/a.zor");
    recent.Add("/d/b.zor");
    recent.Add("/d/c.zor");
    recent.Store(profile);

    TRecentFiles loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded.Items(), Names({"/d/c.zor", "/d/b.zor", "/d/a.zor"}));
    EXPECT_EQ(profile.ReadInteger("PC", "Port", 0), 2);

    // A shorter list must not let the old third entry come back.
    loaded.Remove("/d/a.zor");
    loaded.Store(profile);
    TRecentFiles again;
    again.Load(profile);
    EXPECT_EQ(again.Items(), Names({"/d/c.zor", "/d/b.zor"}));
}

TEST(RecentFilesTest, HandEditedSectionGivesNoBlankOrRepeatedEntries)
{
    TProfileFile profile("[recent]\nFile1=/d/x.zor\nFile2=\nFile3=/d/x.zor\nFile4=/d/y.zor\n"
                         "File9=/d/z.zor\n");
    TRecentFiles recent;
    recent.Load(profile);
    EXPECT_EQ(recent.Items(), Names({"/d/x.zor", "/d/y.zor"}));
}

} // namespace
} // namespace zor
