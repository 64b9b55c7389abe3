#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "Glossmill_Misc.h"
#include "../model/NodeFixture.h"
#include "Glossmill_OptionsDialog.h"

// Settings accepted in the options dialog reach the next save of a language file.
namespace {

const QByteArray Default = ValuesXml("  <string name=\"a\">Open</string>\n  <string name=\"b\">Close</string>\n");
const QByteArray German = ValuesXml("  <string name=\"a\">  Öffnen  </string>\n  <string name=\"b\">Schließen</string>\n");

struct TCase
{
    const char *Name;
    bool DoNotWriteBOM;
    bool KeepWhiteSpaces;
    bool ExpectBOM;
    const char *ExpectA; // the text of "a" as written
};

class OptionsReachTheSave : public ::testing::TestWithParam<TCase>
{
};

} // namespace

TEST_P(OptionsReachTheSave, AfterOk)
{
    const TCase &c = GetParam();
    QTemporaryDir settings;
    QLineEdit mainLocaleBox;
    TFRMOptions options(nullptr, &mainLocaleBox, settings.filePath("Glossmill.ini"));
    options.CHBoom->setChecked(c.DoNotWriteBOM);
    options.CHBKeepWhiteSpc->setChecked(c.KeepWhiteSpaces);
    options.BitBtn1->click();

    TNodePair pair;
    ASSERT_TRUE(pair.Open(Default, German));
    ASSERT_EQ(pair.LangLoad, lrfOK);
    ASSERT_TRUE(pair.LangParsed);
    TTranslateItem *b = pair.Item("b");
    ASSERT_NE(b, nullptr);
    b->setTranslateValue(QString::fromUtf8("Schließen!"));
    ASSERT_TRUE(pair.Lang->SaveFile(QString()));

    const QByteArray written = pair.LangFile();
    EXPECT_EQ(written.startsWith("\xEF\xBB\xBF"), c.ExpectBOM) << written.toStdString();
    EXPECT_TRUE(written.contains(QByteArray("<string name=\"a\">") + QByteArray(c.ExpectA) + "</string>"))
        << written.toStdString();
    EXPECT_TRUE(written.contains(QString::fromUtf8("Schließen!").toUtf8())) << written.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Options, OptionsReachTheSave,
    ::testing::Values(TCase{"Defaults", true, true, false, "  Öffnen  "},
                      TCase{"BomOn", false, true, true, "  Öffnen  "},
                      TCase{"WhitespaceDropped", true, false, false, "Öffnen"}),
    [](const ::testing::TestParamInfo<TCase> &info) { return std::string(info.param.Name); });
