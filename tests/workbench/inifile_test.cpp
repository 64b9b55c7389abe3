#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include "TIniFile.h"
#include "TestSupport.h"

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Glossmill.ini"); }
    void put(const QByteArray &bytes) { ASSERT_TRUE(TestSupport::WriteFile(path(), bytes)); }
    QByteArray content() const { return TestSupport::ReadFile(path()); }
};

} // namespace

TEST_F(IniFileTest, MissingFileReadsAsEmpty)
{
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("GENERAL", "DefaultLocaleCode", "en"), "en");
    EXPECT_EQ(ini.ReadInteger("GENERAL", "ScrollLines", 2), 2);
    EXPECT_TRUE(ini.ReadBool("GENERAL", "DoNotWriteBOM", true));
    EXPECT_FALSE(QFileInfo::exists(path())) << "reading must not create the file";
}

TEST_F(IniFileTest, NamesMatchCaseInsensitivelyAndValuesAreTrimmed)
{
    put("; settings\n"
        "[general]\n"
        "  defaultlocalecode =  de \n"
        "Empty=\n"
        "[reopen]\n"
        "item0=/p/a/\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("GENERAL", "DefaultLocaleCode", "en"), "de");
    EXPECT_EQ(ini.ReadString("General", "EMPTY", "x"), "") << "a present empty value is not the default";
    EXPECT_EQ(ini.ReadString("REOPEN", "Item0", ""), "/p/a/");
    EXPECT_EQ(ini.ReadString("reopen", "DefaultLocaleCode", "none"), "none") << "keys belong to their section";
    EXPECT_EQ(ini.ReadString("missing", "item0", "none"), "none");
}

TEST_F(IniFileTest, FoldsOnlyLettersAToZ)
{
    put("[Größe]\nkey=1\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("Größe", "KEY", 0), 1);
    EXPECT_EQ(ini.ReadInteger("GRÖSSE", "key", 0), 0);
    EXPECT_EQ(ini.ReadInteger("GRöSSE", "key", 0), 0) << "ö and Ö are different names";
}

TEST_F(IniFileTest, FirstMatchingSectionAndKeyWin)
{
    put("[A]\nk=1\nk=2\n[a]\nk=3\n");
    EXPECT_EQ(TIniFile(path()).ReadInteger("a", "K", 0), 1);
}

TEST_F(IniFileTest, ReadStringStopsAtTheMaximumLength)
{
    const QByteArray longValue(3000, 'x');
    put("[GENERAL]\nGogleTranslateGetURL=" + longValue + "\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("GENERAL", "GogleTranslateGetURL", "").size(), 2047);
    EXPECT_EQ(ini.ReadString("GENERAL", "GogleTranslateGetURL", "", 10), QString(10, 'x'));
    EXPECT_EQ(ini.ReadString("GENERAL", "GogleTranslateGetURL", "", 0).size(), 3000);
}

struct TIntegerCase
{
    const char *stored;
    int expected;
};

class IniIntegerTest : public IniFileTest, public ::testing::WithParamInterface<TIntegerCase>
{
};

TEST_P(IniIntegerTest, ReadsDecimalOrHexElseDefault)
{
    put(QByteArray("[GENERAL]\nScrollLines=") + GetParam().stored + "\n");
    EXPECT_EQ(TIniFile(path()).ReadInteger("GENERAL", "ScrollLines", 2), GetParam().expected)
        << "stored: '" << GetParam().stored << "'";
}

INSTANTIATE_TEST_SUITE_P(ValueForms, IniIntegerTest,
                         ::testing::Values(TIntegerCase{"16", 16}, TIntegerCase{"0x10", 16},
                                           TIntegerCase{"0X1f", 31}, TIntegerCase{"0xFFFFFFFF", -1},
                                           TIntegerCase{"-3", -3}, TIntegerCase{"+4", 4},
                                           TIntegerCase{" 7 ", 7}, TIntegerCase{"007", 7},
                                           TIntegerCase{"abc", 2}, TIntegerCase{"", 2},
                                           TIntegerCase{"0x", 2}, TIntegerCase{"0xG1", 2},
                                           TIntegerCase{"0x123456789", 2}, TIntegerCase{"1.5", 2},
                                           TIntegerCase{"12abc", 2}, TIntegerCase{"$10", 2},
                                           TIntegerCase{"-", 2}, TIntegerCase{"99999999999", 2},
                                           TIntegerCase{"2147483647", 2147483647}));

TEST_F(IniFileTest, ReadBoolIsAnyNonZeroInteger)
{
    put("[GENERAL]\nA=0\nB=7\nC=1\nD=abc\nE=0x0\n");
    TIniFile ini(path());
    EXPECT_FALSE(ini.ReadBool("GENERAL", "A", true));
    EXPECT_TRUE(ini.ReadBool("GENERAL", "B", false));
    EXPECT_TRUE(ini.ReadBool("GENERAL", "C", false));
    EXPECT_TRUE(ini.ReadBool("GENERAL", "D", true));
    EXPECT_FALSE(ini.ReadBool("GENERAL", "D", false));
    EXPECT_FALSE(ini.ReadBool("GENERAL", "E", true));
}

TEST_F(IniFileTest, WriteCreatesTheFileWithTheSectionAsNamed)
{
    TIniFile ini(path());
    EXPECT_TRUE(ini.WriteString("GENERAL", "DefaultLocaleCode", "en"));
    EXPECT_TRUE(ini.WriteBool("GENERAL", "DoNotWriteBOM", true));
    EXPECT_TRUE(ini.WriteInteger("GENERAL", "ScrollLines", -5));
    TestSupport::ExpectText(content(), "[GENERAL]\nDefaultLocaleCode=en\nDoNotWriteBOM=1\nScrollLines=-5\n");
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLineAsItWas)
{
    const QByteArray before = "; Glossmill settings\r\n"
                              "[reopen]\r\n"
                              "item0=/home/t/ProjectA/\r\n"
                              "item1=\r\n"
                              "\r\n"
                              "[general]\r\n"
                              "; the page to open\r\n";
    put(before +
        "GogleTranslateGetURL = https://old/\r\n"
        "ScrollLines=3\r\n"
        "\r\n"
        "[Other]\r\n"
        "x=y\r\n");
    TIniFile ini(path());
    EXPECT_TRUE(ini.WriteString("GENERAL", "gogletranslategeturl", "https://new/?a=b&c=%TRANSLATED_TEXT%"));
    EXPECT_TRUE(ini.WriteString("GENERAL", "DefaultLocaleCode", "de"));
    EXPECT_TRUE(ini.WriteInteger("NEW", "k", 1));
    TestSupport::ExpectText(content(), before +
                          "GogleTranslateGetURL =https://new/?a=b&c=%TRANSLATED_TEXT%\r\n"
                          "ScrollLines=3\r\n"
                          "DefaultLocaleCode=de\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "x=y\r\n"
                          "\r\n"
                          "[NEW]\r\n"
                          "k=1\r\n");
    EXPECT_EQ(ini.ReadString("GENERAL", "GogleTranslateGetURL", ""), "https://new/?a=b&c=%TRANSLATED_TEXT%");
}

TEST_F(IniFileTest, ValuesRoundTripAsWritten)
{
    TIniFile ini(path());
    const QString values[] = {"https://translate.google.com/?hl=%SOURCE_LOCALE_CODE%&tab=wT#x/y/z",
                              "\"quoted\"", "a=b=c", "; not a comment", "[not a section]", "Ünïcødé 中文",
                              "C:\\Users\\t\\Project\\"};
    for (const QString &v : values) {
        ASSERT_TRUE(ini.WriteString("GENERAL", "K", v));
        EXPECT_EQ(ini.ReadString("GENERAL", "K", "default"), v);
        EXPECT_EQ(ini.ReadString("GENERAL", "Other", "default"), "default") << "value " << v.toStdString();
    }
}

TEST_F(IniFileTest, LineBreaksInAValueCannotSplitTheFile)
{
    put("[GENERAL]\nGogleTranslateGetURL=x\nDefaultLocaleCode=en\n");
    TIniFile ini(path());
    ASSERT_TRUE(ini.WriteString("GENERAL", "GogleTranslateGetURL", "https://a/\r\nDefaultLocaleCode=xx\n[reopen]"));
    EXPECT_EQ(ini.ReadString("GENERAL", "DefaultLocaleCode", ""), "en");
    EXPECT_EQ(ini.ReadString("GENERAL", "GogleTranslateGetURL", ""), "https://a/DefaultLocaleCode=xx[reopen]");
}

TEST_F(IniFileTest, KeepsTheFileEncoding)
{
    // UTF-8 with a byte-order mark stays so.
    put("\xEF\xBB\xBF[GENERAL]\nA=\xC3\xA4\n");
    ASSERT_TRUE(TIniFile(path()).WriteString("GENERAL", "B", "b"));
    TestSupport::ExpectText(content(), "\xEF\xBB\xBF[GENERAL]\nA=\xC3\xA4\nB=b\n");

    // An 8-bit file keeps its other bytes unchanged.
    put("[reopen]\nitem0=/home/j\xF6rg/p/\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("reopen", "item0", ""), QString::fromUtf8("/home/jörg/p/"));
    ASSERT_TRUE(ini.WriteString("GENERAL", "A", "1"));
    TestSupport::ExpectText(content(), "[reopen]\nitem0=/home/j\xF6rg/p/\n\n[GENERAL]\nA=1\n");
}

TEST_F(IniFileTest, ReadsUtf16WithByteOrderMark)
{
    const QString text = QString::fromUtf8("[GENERAL]\r\nDefaultLocaleCode=ß\r\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    put(bytes);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("GENERAL", "DefaultLocaleCode", ""), QString::fromUtf8("ß"));
    ASSERT_TRUE(ini.WriteString("GENERAL", "ScrollLines", "4"));
    EXPECT_TRUE(content().startsWith("\xFF\xFE"));
    EXPECT_EQ(ini.ReadString("GENERAL", "DefaultLocaleCode", ""), QString::fromUtf8("ß"));
    EXPECT_EQ(ini.ReadInteger("GENERAL", "ScrollLines", 0), 4);
}

TEST_F(IniFileTest, WriteFailsWhenTheFolderIsMissing)
{
    const QString missing = dir.filePath("glossmill/Glossmill.ini");
    TIniFile ini(missing);
    EXPECT_FALSE(ini.WriteString("GENERAL", "A", "1"));
    EXPECT_FALSE(ini.WriteInteger("GENERAL", "A", 1));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("glossmill"))) << "the folder is never created";
    EXPECT_EQ(ini.WriteErrorText(), "Unable to write to " + missing);
    EXPECT_TRUE(ini.EraseSection("reopen")) << "nothing to erase, nothing to write";
}

TEST_F(IniFileTest, WriteFailsWhenAFolderStandsInTheFilesPlace)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("Glossmill.ini/inner"));
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("GENERAL", "A", "dflt"), "dflt");
    EXPECT_FALSE(ini.WriteString("GENERAL", "A", "1"));
    EXPECT_TRUE(QFileInfo(dir.filePath("Glossmill.ini/inner")).isDir());
}

TEST_F(IniFileTest, TwoObjectsOnOneFileKeepEachOthersChanges)
{
    TIniFile options(path());
    TIniFile recent(path());
    ASSERT_TRUE(options.WriteString("GENERAL", "DefaultLocaleCode", "fr"));
    ASSERT_TRUE(recent.WriteString("reopen", "item0", "/p/"));
    ASSERT_TRUE(options.WriteInteger("GENERAL", "ScrollLines", 9));
    EXPECT_EQ(recent.ReadString("GENERAL", "DefaultLocaleCode", ""), "fr");
    EXPECT_EQ(options.ReadString("reopen", "item0", ""), "/p/");
    EXPECT_EQ(recent.ReadInteger("GENERAL", "ScrollLines", 0), 9);
}

TEST_F(IniFileTest, EraseSectionRemovesItsLinesOnly)
{
    put("[GENERAL]\nA=1\n\n[reopen]\n; recent\nitem0=/a/\nitem1=/b/\n\n[REOPEN]\nitem2=/c/\n[Z]\nz=1\n");
    TIniFile ini(path());
    EXPECT_TRUE(ini.EraseSection("Reopen"));
    TestSupport::ExpectText(content(), "[GENERAL]\nA=1\n\n[Z]\nz=1\n");
    EXPECT_EQ(ini.ReadString("reopen", "item2", "none"), "none");
    EXPECT_TRUE(ini.EraseSection("reopen"));
}

TEST_F(IniFileTest, DeleteKeyRemovesTheKeyFromItsSection)
{
    put("[reopen]\nitem0=/a/\nITEM0=/dup/\nitem1=/b/\n[other]\nitem0=/keep/\n");
    TIniFile ini(path());
    EXPECT_TRUE(ini.DeleteKey("REOPEN", "item0"));
    TestSupport::ExpectText(content(), "[reopen]\nitem1=/b/\n[other]\nitem0=/keep/\n");
    EXPECT_TRUE(ini.DeleteKey("reopen", "item9"));
    EXPECT_TRUE(ini.DeleteKey("nosuch", "item0"));
    TestSupport::ExpectText(content(), "[reopen]\nitem1=/b/\n[other]\nitem0=/keep/\n");
}

namespace {

// A change to a file whose encoding is guessed from its bytes; afterwards the changed key reads as written and
// every other key as before.
struct TEncodingCase
{
    const char *name;
    QByteArray before;
    enum TChange { Write, Delete, Erase } change;
    const char *section;
    const char *key;
    QString value;
};

const TEncodingCase kEncodingCases[] = {
    {"Latin1FileLosesItsOnlyLatin1Byte", "[GENERAL]\nDefaultLocaleCode=\xe9\n\n[reopen]\nitem0=/home/Ren\xc3\xa9/p/\n",
     TEncodingCase::Write, "GENERAL", "DefaultLocaleCode", "de"},
    {"Latin1TextWhoseBytesAreUtf8", "[GENERAL]\nA=\xe9\n", TEncodingCase::Write, "GENERAL", "A",
     QString::fromLatin1("\xc3\xa9")},
    {"Latin1TextBesideUtf8LookingBytes", "[GENERAL]\nA=\xe9\nB=Ren\xc3\xa9\n", TEncodingCase::Write, "GENERAL", "A",
     QString::fromLatin1("\xc3\xa9")},
    {"DeletedKeyHeldTheOnlyLatin1Byte", "[GENERAL]\nA=\xe9\n[reopen]\nitem0=/Ren\xc3\xa9/\n", TEncodingCase::Delete,
     "GENERAL", "A", {}},
    {"ErasedSectionHeldTheOnlyLatin1Byte", "[GENERAL]\nA=\xe9\n[reopen]\nitem0=/Ren\xc3\xa9/\n", TEncodingCase::Erase,
     "GENERAL", nullptr, {}},
    {"TextBeyondLatin1IntoALatin1File", "[GENERAL]\nA=\xe9\nB=x\n", TEncodingCase::Write, "GENERAL", "B",
     QString::fromUtf8("中文")},
    {"Latin1LetterIntoAUtf8File", "[GENERAL]\nA=\xc3\xa9\n", TEncodingCase::Write, "GENERAL", "B",
     QString::fromLatin1("\xe9\xc3\xa9")},
    {"Latin1LetterIntoALatin1File", "[reopen]\nitem0=/home/j\xf6rg/\n", TEncodingCase::Write, "GENERAL", "A",
     QString::fromLatin1("\xe9")},
    {"Utf8LookingTextIntoAnAsciiFile", "[GENERAL]\nA=1\n", TEncodingCase::Write, "GENERAL", "B",
     QString::fromLatin1("\xc3\xa9")},
};

void PrintTo(const TEncodingCase &c, std::ostream *os)
{
    *os << c.name;
}

class IniEncodingTest : public IniFileTest, public ::testing::WithParamInterface<TEncodingCase>
{
protected:
    static std::string Listed(const QMap<QString, QString> &values)
    {
        QString text;
        for (auto it = values.begin(); it != values.end(); ++it)
            text += it.key() + "=" + it.value() + "\n";
        return text.toStdString();
    }

    // Every section and key of the file with the value it reads as.
    QMap<QString, QString> AllValues() const
    {
        QMap<QString, QString> values;
        TIniFile ini(path());
        QString section;
        for (const QByteArray &line : content().split('\n')) {
            if (line.startsWith('['))
                section = QString::fromLatin1(line.mid(1, line.indexOf(']') - 1));
            else if (line.contains('='))
                values.insert(section + "/" + QString::fromLatin1(line.left(line.indexOf('='))), QString());
        }
        for (auto it = values.begin(); it != values.end(); ++it)
            it.value() = ini.ReadString(it.key().section('/', 0, 0), it.key().section('/', 1), "<missing>");
        return values;
    }
};

TEST_P(IniEncodingTest, ChangingOneKeyLeavesEveryOtherAsItRead)
{
    const TEncodingCase &c = GetParam();
    put(c.before);
    QMap<QString, QString> expected = AllValues();
    TIniFile ini(path());
    switch (c.change) {
    case TEncodingCase::Write:
        ASSERT_TRUE(ini.WriteString(c.section, c.key, c.value));
        expected.insert(QString(c.section) + "/" + c.key, c.value);
        break;
    case TEncodingCase::Delete:
        ASSERT_TRUE(ini.DeleteKey(c.section, c.key));
        expected.remove(QString(c.section) + "/" + c.key);
        break;
    case TEncodingCase::Erase:
        ASSERT_TRUE(ini.EraseSection(c.section));
        for (const QString &k : expected.keys())
            if (k.startsWith(QString(c.section) + "/"))
                expected.remove(k);
        break;
    }
    EXPECT_EQ(Listed(AllValues()), Listed(expected)) << "file now: " << content().toHex(' ').constData();
}

INSTANTIATE_TEST_SUITE_P(Changes, IniEncodingTest, ::testing::ValuesIn(kEncodingCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
