#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

#include "Glossmill_types.h"
#include "TestSupport.h"

namespace {

bool SetFileTimeNs(const QString &path, qint64 ns)
{
    const struct timespec times[2] = {{ns / 1000000000, long(ns % 1000000000)},
                                      {ns / 1000000000, long(ns % 1000000000)}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

class FileTimeStampTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString Path = Dir.path() + "/values-de/strings.xml";
    TTransResourceFileNode_Value Node;
    // A time well inside a second, so that steps of a microsecond stay in it.
    const qint64 T0 = qint64(1700000000) * 1000000000 + 250000000;

    void SetUp() override
    {
        ASSERT_TRUE(TestSupport::WriteFile(Path, "<resources/>"));
        ASSERT_TRUE(SetFileTimeNs(Path, T0));
        Node.ResourceFileName = Path;
    }
};

TEST_F(FileTimeStampTest, AChangeOneMicrosecondLaterIsNoticedAndAnEqualTimeIsNot)
{
    EXPECT_FALSE(Node.CheckFileTimeChanged()); // never remembered
    Node.RememberFileTime();
    EXPECT_EQ(Node.SourceFileStamp, T0);
    EXPECT_FALSE(Node.CheckFileTimeChanged());
    ASSERT_TRUE(SetFileTimeNs(Path, T0 + 1000));
    EXPECT_TRUE(Node.CheckFileTimeChanged());
    Node.RememberFileTime();
    EXPECT_FALSE(Node.CheckFileTimeChanged());
    ASSERT_TRUE(SetFileTimeNs(Path, T0)); // an older time is no change
    EXPECT_FALSE(Node.CheckFileTimeChanged());
}

TEST_F(FileTimeStampTest, AMissingFileKeepsTheStampAndCountsAsUnchanged)
{
    Node.RememberFileTime();
    ASSERT_TRUE(QFile::remove(Path));
    EXPECT_FALSE(Node.CheckFileTimeChanged());
    Node.RememberFileTime();
    EXPECT_EQ(Node.SourceFileStamp, T0);
}

TEST_F(FileTimeStampTest, TheBaseFileIsCheckedForALanguageFileOnly)
{
    TTransResourceFileNode_Value base;
    base.ResourceFileName = Path;
    base.RememberFileTime();
    ASSERT_TRUE(SetFileTimeNs(Path, T0 + 1));
    EXPECT_FALSE(base.CheckBaseFileTimeChanged()); // a default file has no default file
    Node.LocaleDesc.LocaleName = "German";
    Node.setBaseTemplate(&base);
    EXPECT_TRUE(Node.CheckBaseFileTimeChanged());
    Node.RememberBaseFileTime();
    EXPECT_EQ(base.SourceFileStamp, T0 + 1);
    EXPECT_FALSE(Node.CheckBaseFileTimeChanged());
}

} // namespace
