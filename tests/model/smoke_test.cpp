#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include "TestSupport.h"

namespace {

// The corpus is the folder that GLOSSMILL_CORPUS names, else ../shared/corpus beside the source tree, and only
// when it holds both projects.
TEST(FindCorpus, TheVariableElseTheFolderBesideTheSourceTreeWhenItHoldsBothProjects)
{
    QTemporaryDir dir;
    const QString named = dir.path() + "/named", half = dir.path() + "/half";
    const QString beside = dir.path() + "/shared/corpus", source = dir.path() + "/clone";
    for (const QString &folder : {named + "/etar/res", named + "/fdroidclient/res", half + "/etar/res",
                                  beside + "/etar/res", beside + "/fdroidclient/res", source, dir.path() + "/alone"})
        ASSERT_TRUE(QDir().mkpath(folder));
    const struct
    {
        const char *name;
        QString variable, sourceDir, found;
    } cases[] = {
        {"named by the variable", named, source, named},
        {"named by the variable, written untidily", named + "/../named/", source, named},
        {"the variable names a folder with one project", half, source, QString()},
        {"the variable names no folder", dir.path() + "/none", source, QString()},
        {"unset: beside the source tree", QString(), source, beside},
        {"unset, nothing beside the source tree", QString(), dir.path() + "/alone/clone", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TestSupport::FindCorpus(c.variable, c.sourceDir).toStdString(), c.found.toStdString()) << c.name;
}

TEST(CorpusSmoke, HoldsBothProjects)
{
    GLOSSMILL_REQUIRE_CORPUS();
    EXPECT_TRUE(QDir(TestSupport::CorpusDir() + "/etar/res/values").exists());
    EXPECT_TRUE(QDir(TestSupport::CorpusDir() + "/fdroidclient/res/values").exists());
}

} // namespace
