#include <gtest/gtest.h>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <tuple>

#include "Glossmill_LocaleConst.h"
#include "TestSupport.h"

TEST(LocaleTable, LookupByValuesFolder)
{
    const std::pair<QString, int> cases[] = {
        {"values-af", 1},
        {"values-zu-rZA", 627},
        {"values-en-rUS", 200},
        {"VALUES-EN-RUS", 200},
        {"values-en-rus_posix", 201},
        {"values-ar-r001", 11},
        {"values-ar-r1", -1},
        {"values-iw", 322},
        {"values-in-rID", 334},
        {"values-he", -1},
        {"values-he-rIL", -1},
        {"values-id", -1},
        {"values-id-rID", -1},
        {"", -1},
        {"values-", -1},
        {"menu-de", -1},
        {"menu-af", -1},
        {"af", -1},
        {"values-af ", -1},
        {"values-kk", -1},
        {"values-kk-rKZ_#cyrl", 349},
        {QString::fromUtf8("values-af-rNA\u0130"), -1},
    };
    for (const auto &[name, index] : cases)
        EXPECT_EQ(FindLocaleByValuesFolder(name), index) << name.toStdString();
}

TEST(LocaleTable, EveryRowIsFoundAtItsOwnIndex)
{
    QSet<QString> seen;
    for (int i = 1; i <= LocaleTableCount; ++i) {
        const TLocaleDesc &row = LocaleTable(i);
        EXPECT_EQ(FindLocaleByValuesFolder(row.ValuesFolderName), i) << row.ValuesFolderName.toStdString();
        EXPECT_FALSE(seen.contains(row.ValuesFolderName.toUpper())) << row.ValuesFolderName.toStdString();
        seen.insert(row.ValuesFolderName.toUpper());
    }
}

TEST(LocaleTable, RowFields)
{
    struct Case { int index; const char *folder, *name, *code, *variant; };
    const Case cases[] = {
        {1, "values-af", "Afrikaans", "af", ""},
        {2, "values-af-rNA", "Afrikaans (Namibia)", "af", "NA"},
        {11, "values-ar-r001", "Arabic (World)", "ar", "1"},
        {44, "values-az-r_#Cyrl", "Azerbaijani (Cyrillic)", "az", ""},
        {45, "values-az-rAZ_#Cyrl", "Azerbaijani (Cyrillic,Azerbaijan)", "az", "AZ"},
        {47, "values-az-rAZ_#Latn", "Azerbaijani (Latin,Azerbaijan)", "az", "AZ"},
        {200, "values-en-rUS", "English (United States)", "en", "US"},
        {201, "values-en-rUS_POSIX", "English (United States,Computer)", "en", "US"},
        {627, "values-zu-rZA", "Zulu (South Africa)", "zu", "ZA"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        const TLocaleDesc &row = LocaleTable(c.index);
        EXPECT_EQ(row.ValuesFolderName, c.folder);
        EXPECT_EQ(row.LocaleName, QString::fromUtf8(c.name));
        EXPECT_EQ(row.LocaleCode, c.code);
        EXPECT_EQ(row.LocaleVariant, c.variant);
        EXPECT_TRUE(row.Desc.isEmpty());
        EXPECT_EQ(row.Tag, 0);
    }
}

TEST(LocaleTable, RowsFoundByName)
{
    struct Case { const char *folder, *name, *variant; };
    const Case cases[] = {
        {"values-en-r150", "English (Europe)", "150"},
        {"values-es-r419", "Spanish (Latin America)", "419"},
        {"values-zh-rTW_#Hant", "Chinese (Traditional Han,Taiwan)", "TW"},
        {"values-zh-r_#Hans", "Chinese (Simplified Han)", ""},
        {"values-sr-r_#Latn", "Serbian (Latin)", ""},
        {"values-kk-rKZ_#Cyrl", "Kazakh (Cyrillic,Kazakhstan)", "KZ"},
        {"values-iw-rIL", "Hebrew (Israel)", "IL"},
        {"values-in", "Indonesian", ""},
        {"values-nb-rSJ", "Norwegian Bokmål (Svalbard and Jan Mayen)", "SJ"},
        {"values-fr-rCI", "French (Côte d’Ivoire)", "CI"},
        {"values-sv-rAX", "Swedish (Åland Islands)", "AX"},
        {"values-en-rCC", "English (Cocos (Keeling) Islands)", "CC"},
        {"values-en-rVC", "English (St. Vincent & Grenadines)", "VC"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        const int index = FindLocaleByValuesFolder(c.folder);
        ASSERT_GT(index, 0);
        EXPECT_EQ(LocaleTable(index).LocaleName, QString::fromUtf8(c.name));
        EXPECT_EQ(LocaleTable(index).LocaleVariant, c.variant);
    }
}

TEST(LocaleTable, OutsideTheRangeIsAnEmptyRecord)
{
    for (int index : {0, -1, LocaleTableCount + 1}) {
        EXPECT_TRUE(LocaleTable(index).ValuesFolderName.isEmpty());
        EXPECT_TRUE(LocaleTable(index).LocaleName.isEmpty());
    }
}

// Every row is well formed and every code has found its name.
TEST(LocaleTable, RowsAreWellFormed)
{
    const QRegularExpression folder("^values-([a-z]{2,3})(?:-r([A-Z]{2}|[0-9]{3})?(?:_#([A-Z][a-z]{3})|_POSIX)?)?$");
    for (int i = 1; i <= LocaleTableCount; ++i) {
        const TLocaleDesc &row = LocaleTable(i);
        SCOPED_TRACE(row.ValuesFolderName.toStdString());
        const QRegularExpressionMatch m = folder.match(row.ValuesFolderName);
        ASSERT_TRUE(m.hasMatch());
        EXPECT_EQ(row.LocaleCode, m.captured(1));
        const bool hasScript = !m.captured(3).isEmpty();
        const bool posix = row.ValuesFolderName.endsWith("_POSIX");
        const QString region = m.captured(2);
        const bool numeric = !region.isEmpty() && region.at(0).isDigit();
        EXPECT_EQ(row.LocaleVariant, numeric ? QString::number(region.toInt()) : region);
        EXPECT_NE(row.LocaleName, row.LocaleCode);
        const qsizetype open = row.LocaleName.indexOf(" (");
        const int detailCount = int(hasScript) + int(!region.isEmpty()) + int(posix);
        if (detailCount == 0) {
            EXPECT_EQ(open, -1);
            continue;
        }
        ASSERT_GT(open, 0);
        EXPECT_TRUE(row.LocaleName.endsWith(')'));
        const QString details = row.LocaleName.mid(open + 2).chopped(1);
        EXPECT_FALSE(details.contains(", "));
        EXPECT_EQ(details.split(',').size(), detailCount);
        for (const QString &part : details.split(',')) {
            EXPECT_NE(part, region);
            EXPECT_NE(part, m.captured(3));
        }
    }
}

// Language (iw and in standing for he and id), then the script group, then no region, numeric, letter regions,
// POSIX directly after its region.
TEST(LocaleTable, RowOrder)
{
    const QRegularExpression folder("^values-([a-z]{2,3})(?:-r([A-Z]{2}|[0-9]{3})?(?:_#([A-Za-z]{4})|_(POSIX))?)?$");
    using Key = std::tuple<QString, QString, int, QString, bool>;
    auto keyOf = [&](const TLocaleDesc &row) {
        const QRegularExpressionMatch m = folder.match(row.ValuesFolderName);
        QString language = m.captured(1);
        if (language == "iw")
            language = "he";
        else if (language == "in")
            language = "id";
        const QString region = m.captured(2);
        const int regionClass = region.isEmpty() ? 0 : region.at(0).isDigit() ? 1 : 2;
        return Key{language, m.captured(3), regionClass, region, !m.captured(4).isEmpty()};
    };
    for (int i = 2; i <= LocaleTableCount; ++i)
        EXPECT_LT(keyOf(LocaleTable(i - 1)), keyOf(LocaleTable(i))) << LocaleTable(i).ValuesFolderName.toStdString();

    int kazakh = 0;
    for (int i = 1; i <= LocaleTableCount; ++i)
        kazakh += LocaleTable(i).LocaleCode == "kk";
    EXPECT_EQ(kazakh, 1);
}

// A language folder's qualifier as Android's build reads it: the table's own spelling, or an equivalent form of a
// row when the table has no row of that spelling.
TEST(LocaleTable, LookupByQualifier)
{
    const std::pair<QString, const char *> cases[] = {
        // the table's own names, in any case
        {"de", "values-de"},
        {"DE", "values-de"},
        {"pt-rbr", "values-pt-rBR"},
        {"es-r419", "values-es-r419"},
        {"zh-rCN_#Hans", "values-zh-rCN_#Hans"},
        {"en-rus_posix", "values-en-rUS_POSIX"},
        {"iw", "values-iw"},
        {"zh", "values-zh"},
        // the BCP-47 form
        {"b+zh+Hans+CN", "values-zh-rCN_#Hans"},
        {"b+zh+hans+cn", "values-zh-rCN_#Hans"},
        {"B+ZH+HANS+CN", "values-zh-rCN_#Hans"},
        {"b+zh+Hant", "values-zh-r_#Hant"},
        {"b+sr+Latn", "values-sr-r_#Latn"},
        {"b+uz+Latn", "values-uz-r_#Latn"},
        {"b+az+Cyrl", "values-az-r_#Cyrl"},
        {"b+en+US+posix", "values-en-rUS_POSIX"},
        {"b+en+US+POSIX", "values-en-rUS_POSIX"},
        {"b+es+419", "values-es-r419"},
        {"b+ar+001", "values-ar-r001"},
        {"b+de", "values-de"},
        {"b+pt+BR", "values-pt-rBR"},
        // the ISO codes Android reads as one language
        {"he", "values-iw"},
        {"he-rIL", "values-iw-rIL"},
        {"HE-RIL", "values-iw-rIL"},
        {"b+he", "values-iw"},
        {"b+iw", "values-iw"},
        {"b+he+IL", "values-iw-rIL"},
        {"id", "values-in"},
        {"id-rID", "values-in-rID"},
        {"b+id", "values-in"},
        // the script a region implies, where the table has no plain row of that region
        {"zh-rCN", "values-zh-rCN_#Hans"},
        {"zh-rcn", "values-zh-rCN_#Hans"},
        {"b+zh+CN", "values-zh-rCN_#Hans"},
        {"zh-rSG", "values-zh-rSG_#Hans"},
        {"zh-rTW", "values-zh-rTW_#Hant"},
        {"zh-rHK", "values-zh-rHK_#Hant"},
        {"zh-rMO", "values-zh-rMO_#Hant"},
        {"sr-rRS", "values-sr-rRS_#Cyrl"},
        {"sr-rME", "values-sr-rME_#Latn"},
        {"pa-rPK", "values-pa-rPK_#Arab"},
        {"pa-rIN", "values-pa-rIN_#Guru"},
        {"uz-rUZ", "values-uz-rUZ_#Latn"},
        {"kk-rKZ", "values-kk-rKZ_#Cyrl"},
        // names of no row
        {"ast", nullptr},
        {"night", nullptr},
        {"v29", nullptr},
        {"land", nullptr},
        {"sw600dp", nullptr},
        {"zh-rCN-night", nullptr},
        {"b+zh+Hans+CN-night", nullptr},
        {"de-night", nullptr},
        {"kk", nullptr},
        {"yi", nullptr},
        {"ji", nullptr},
        {"zh-rUS", nullptr},
        {"zh-rCN_#Hant", nullptr},
        {"b+zh+Latn+CN", nullptr},
        {"b+hi+Latn", nullptr},
        {"b+en+posix", nullptr},
        {"b+zh+Hans+CN+posix", nullptr},
        {"b+en+US+x", nullptr},
        {"b+zh++CN", nullptr},
        {"b+", nullptr},
        {"b", nullptr},
        {"", nullptr},
        {"en-r1", nullptr},
        {"en-rUSA", nullptr},
        {"en-US", nullptr},
        {"ar-r1", nullptr},
        {"de ", nullptr},
        {QString::fromUtf8("zh-rC\u0130"), nullptr},
    };
    for (const auto &[qualifier, folder] : cases)
        EXPECT_EQ(FindLocaleByQualifier(qualifier), folder ? FindLocaleByValuesFolder(folder) : -1)
            << qualifier.toStdString();
}

TEST(LocaleTable, LookupByLanguageFolder)
{
    struct Case { const char *name, *row; bool menu; };
    const Case cases[] = {
        {"values-zh-rCN", "values-zh-rCN_#Hans", false},
        {"VALUES-HE", "values-iw", false},
        {"menu-b+zh+Hans+CN", "values-zh-rCN_#Hans", true},
        {"Menu-de", "values-de", true},
        {"menu-zh-rTW_#Hant", "values-zh-rTW_#Hant", true},
        {"values", nullptr, false},
        {"values-", nullptr, false},
        {"menu-", nullptr, false},
        {"valuesde", nullptr, false},
        {"drawable-de", nullptr, false},
        {"values-night", nullptr, false},
        {"menu-land", nullptr, false},
    };
    for (const Case &c : cases) {
        bool menu = !c.menu;
        EXPECT_EQ(FindLocaleByLanguageFolder(c.name, &menu), c.row ? FindLocaleByValuesFolder(c.row) : -1) << c.name;
        if (c.row)
            EXPECT_EQ(menu, c.menu) << c.name;
    }
}

TEST(LocaleTable, QualifierOfTheFoldersMade)
{
    const std::pair<const char *, const char *> cases[] = {
        {"values-de", "de"},
        {"values-pt-rBR", "pt-rBR"},
        {"VALUES-PT-RBR", "pt-rBR"},
        {"values-iw", "iw"},
        {"values-zh-rCN_#Hans", "b+zh+Hans+CN"},
        {"values-zh-rTW_#Hant", "b+zh+Hant+TW"},
        {"values-sr-r_#Latn", "b+sr+Latn"},
        {"values-az-r_#Cyrl", "b+az+Cyrl"},
        {"values-kk-rKZ_#Cyrl", "b+kk+Cyrl+KZ"},
        {"values-en-rUS_POSIX", "b+en+US+posix"},
        {"values-es-r419", "b+es+419"},
        {"values-en-r001", "b+en+001"},
        {"values-en-r150", "b+en+150"},
        {"values-he", ""},
        {"values-../x", ""},
        {"", ""},
    };
    for (const auto &[folder, qualifier] : cases) {
        TLocaleDesc desc;
        desc.ValuesFolderName = folder;
        EXPECT_EQ(LocaleQualifier(desc), qualifier) << folder;
    }
}

// Every row's folder, made by Glossmill, is found again as that row and is one that aapt builds.
TEST(LocaleTable, EveryRowsMadeFolderIsFoundAgainAndBuilds)
{
    QTemporaryDir dir;
    const QString res = dir.path() + "/res";
    ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/AndroidManifest.xml", "<manifest package=\"a.b\"/>\n"));
    ASSERT_TRUE(TestSupport::WriteFile(res + "/values/strings.xml",
                                       "<resources><string name=\"a\">A</string></resources>\n"));
    for (int i = 1; i <= LocaleTableCount; ++i) {
        const QString qualifier = LocaleQualifier(LocaleTable(i));
        EXPECT_EQ(FindLocaleByQualifier(qualifier), i) << qualifier.toStdString();
        for (const char *type : {"values-", "menu-"})
            EXPECT_EQ(FindLocaleByLanguageFolder(type + qualifier), i) << type << qualifier.toStdString();
        ASSERT_TRUE(TestSupport::WriteFile(res + "/values-" + qualifier + "/strings.xml",
                                           "<resources><string name=\"a\">B</string></resources>\n"));
    }
    if (QStandardPaths::findExecutable("aapt").isEmpty())
        GTEST_SKIP() << "aapt is not installed";
    QProcess aapt;
    aapt.setProcessChannelMode(QProcess::MergedChannels);
    aapt.start("aapt",
               {"package", "-M", dir.path() + "/AndroidManifest.xml", "-S", res, "-F", dir.path() + "/out.apk"});
    ASSERT_TRUE(aapt.waitForFinished(120000));
    EXPECT_EQ(aapt.exitCode(), 0) << aapt.readAll().toStdString();
}
