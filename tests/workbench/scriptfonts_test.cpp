#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QGlyphRun>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTreeWidget>

#include "TestSupport.h"

// The translator reads the languages of the project in the item list: each script needs a font, which the install
// script brings along with the other dependencies.
namespace {

// The packages that scripts/install-deps.sh installs.
QStringList InstallScriptPackages()
{
    const QString script = QString::fromUtf8(TestSupport::ReadFile(GLOSSMILL_SOURCE_DIR "/scripts/install-deps.sh"));
    const QRegularExpressionMatch list =
        QRegularExpression(QStringLiteral("\\npackages=\\(\\n(.*?)\\n\\)"), QRegularExpression::DotMatchesEverythingOption)
            .match(script);
    QStringList packages;
    if (!list.hasMatch())
        return packages;
    for (QString line : list.captured(1).split(QLatin1Char('\n'))) {
        line = line.left(line.indexOf(QLatin1Char('#')));
        packages << line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return packages;
}

TEST(ScriptFonts, TheInstallScriptBringsTheNotoFontsOfTheWorldsScripts)
{
    const QStringList packages = InstallScriptPackages();
    ASSERT_TRUE(packages.contains(QStringLiteral("qt6-base-dev"))) << packages.join(' ').toStdString();
    for (const char *fonts : {"fonts-noto-core", "fonts-noto-cjk"})
        EXPECT_TRUE(packages.contains(QString::fromLatin1(fonts))) << fonts;
}

struct TSample
{
    const char *script;
    const char *text;
};

QStringList Messages;
void KeepMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    Messages << text;
}

TEST(ScriptFonts, TextsOfTheWorldsScriptsHaveAGlyphForEveryCharacterInTheItemList)
{
    for (const char *file : {"/usr/share/fonts/truetype/noto/NotoSansTamil-Regular.ttf",
                             "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"})
        if (!QFileInfo::exists(QString::fromLatin1(file)))
            GTEST_SKIP() << "fonts-noto-core and fonts-noto-cjk are not installed (" << file
                         << " is missing); scripts/install-deps.sh installs them";
    const TSample samples[] = {
        {"Tamil", "உங்கள் சாதனத்துடன் ஒவ்வாத செயலி"},
        {"Bengali", "অ্যাপটি ইনস্টল করা হয়েছে"},
        {"Devanagari", "ऐप इंस्टॉल किया गया"},
        {"Gujarati", "એપ્લિકેશન ઇન્સ્ટોલ થઈ"},
        {"Malayalam", "ആപ്പ് ഇൻസ്റ്റാൾ ചെയ്തു"},
        {"Sinhala", "යෙදුම ස්ථාපනය කර ඇත"},
        {"Thai", "ติดตั้งแอปแล้ว"},
        {"Khmer", "បានដំឡើងកម្មវិធី"},
        {"Myanmar", "အက်ပ်ကို ထည့်သွင်းပြီးပါပြီ"},
        {"Simplified Chinese", "应用已安装"},
        {"Traditional Chinese", "應用程式已安裝"},
        {"Japanese", "アプリはインストールされました"},
        {"Korean", "앱이 설치되었습니다"},
        {"Ethiopic", "መተግበሪያው ተጭኗል"},
        {"Arabic", "تم تثبيت التطبيق"},
        {"Hebrew", "היישום הותקן"},
        {"Georgian", "აპი დაინსტალირდა"},
        {"Armenian", "Հավելվածը տեղադրված է"},
    };
    const QFont font = QTreeWidget().font();
    Messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepMessage);
    for (const TSample &s : samples) {
        SCOPED_TRACE(s.script);
        QTextLayout layout(QString::fromUtf8(s.text), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        int missing = 0;
        for (const QGlyphRun &run : layout.glyphRuns())
            for (const quint32 glyph : run.glyphIndexes()) {
                ++glyphs;
                missing += glyph == 0;
            }
        EXPECT_GT(glyphs, 0);
        EXPECT_EQ(missing, 0);
    }
    qInstallMessageHandler(previous);
    // Qt says so for every font it tries in vain for a script that needs shaping.
    for (const QString &m : Messages)
        EXPECT_FALSE(m.contains(QStringLiteral("OpenType support missing"))) << m.toStdString();
}

} // namespace
