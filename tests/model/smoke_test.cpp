#include <gtest/gtest.h>
#include <QDir>
#include "TestSupport.h"

TEST(Smoke, CorpusIsBesideTheRepository)
{
    EXPECT_TRUE(QDir(TestSupport::CorpusDir() + "/etar/res/values").exists());
}
