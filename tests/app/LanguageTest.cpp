#include "app/Language.h"
#include "app/EditorSettings.h"
#include "comm/ProfileFile.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(InterfaceLanguage, FollowsTheDesktopOnlyWhereACatalogueExistsAndTheSettingOverrulesIt)
{
    const QLocale czech(QStringLiteral("cs_CZ")), german(QStringLiteral("de_DE")),
        british(QStringLiteral("en_GB"));
    EXPECT_EQ(InterfaceLocale(QStringLiteral("system"), czech).language(), QLocale::Czech);
    // A desktop language without a catalogue gets English, not a half-translated mixture.
    EXPECT_EQ(InterfaceLocale(QStringLiteral("system"), german).language(), QLocale::English);
    // An English desktop keeps its country, so dates read as the operator is used to.
    EXPECT_EQ(InterfaceLocale(QStringLiteral("system"), british), british);
    EXPECT_EQ(InterfaceLocale(QStringLiteral("en"), czech).language(), QLocale::English);
    EXPECT_EQ(InterfaceLocale(QStringLiteral("cs"), british).language(), QLocale::Czech);
}

TEST(InterfaceLanguage, AnUnknownOrMissingSettingMeansTheDesktopsLanguage)
{
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage=CS\n")), "cs");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage= en \n")), "en");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage=fr\n")), "system");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage=\n")), "system");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nPreview=1\n")), "system");
}

TEST(InterfaceLanguage, TheChoiceIsWrittenAndTheRestOfTheFileKept)
{
    const std::string path = std::string(::testing::TempDir()) + "language.ini";
    {
        TProfileFile profile("[PC]\nPort=2\n[Editor]\nPreview=1\n");
        ASSERT_TRUE(profile.Save(path));
    }
    ASSERT_TRUE(WriteLanguage(path, "cs"));
    TProfileFile written;
    ASSERT_TRUE(written.Load(path));
    EXPECT_EQ(ReadLanguage(written), "cs");
    EXPECT_EQ(written.ReadInteger("PC", "Port", 0), 2);
    EXPECT_TRUE(written.ReadBool("Editor", "Preview", false));
}

// Last: the catalogues stay installed for the rest of the process.
TEST(InterfaceLanguage, CzechInstallsTheBuiltInCatalogueAndQtsOwnAndSetsTheDefaultLocale)
{
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/i18n/zoredit_cs.qm")));
    ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("cs_CZ"))));
    EXPECT_EQ(QLocale().language(), QLocale::Czech);
    // Qt's standard buttons, from Qt's own catalogue (installed with the build's dependencies).
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Zrušit"));
}

} // namespace
} // namespace zor
