#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "TestSupport.h"

namespace {

const QString kExample = QStringLiteral(GLOSSMILL_SOURCE_DIR "/examples/VorelGlossmill_ExampleApp");

TEST(ExampleProject, ResourcesPassXmllintAndAapt)
{
    if (QStandardPaths::findExecutable("aapt").isEmpty() || QStandardPaths::findExecutable("xmllint").isEmpty())
        GTEST_SKIP() << "aapt or xmllint is not installed";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("bash", {GLOSSMILL_SOURCE_DIR "/scripts/check-example.sh"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAll().constData();
}

TEST(ExampleProject, GermanFileCarriesTheItemStateComment)
{
    const QByteArray de = TestSupport::ReadFile(kExample + "/res/values-de/strings.xml");
    const int start = de.indexOf("<!--");
    ASSERT_GE(start, 0);
    ASSERT_LT(start, de.indexOf("<resources"));
    const QByteArray comment = de.mid(start + 4, de.indexOf("-->", start) - start - 4);
    EXPECT_TRUE(comment.startsWith("Glossmill - item states storage;")) << comment.constData();
    EXPECT_TRUE(comment.endsWith(";\r\n")) << comment.constData();
    for (const QByteArray &entry : comment.mid(32).trimmed().split(';')) {
        if (entry.isEmpty())
            continue;
        const QList<QByteArray> parts = entry.split('=');
        ASSERT_EQ(parts.size(), 2) << entry.constData();
        EXPECT_TRUE(parts.at(1) == "2" || parts.at(1) == "3") << entry.constData();
        EXPECT_TRUE(de.contains("<string name=\"" + parts.at(0) + "\">")) << entry.constData();
    }
}

} // namespace
