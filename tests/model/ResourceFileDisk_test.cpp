// What opening, saving and closing a language file do to the files on disk: links, things that are not files,
// work and backup files left by an earlier run, and folders the user may only read.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include "Glossmill_Misc.h"
#include "NodeFixture.h"

namespace {

QByteArray StringXml(const char *Name, const char *Text)
{
    return QByteArray("  <string name=\"") + Name + "\">" + Text + "</string>\n";
}

const QByteArray DefaultXml = ValuesXml(StringXml("a", "A") + StringXml("b", "B"));
// In another order than the default file, so that its rebuild differs from it.
const QByteArray LanguageXml = ValuesXml(StringXml("b", "Zwei") + StringXml("a", "Eins"));

// Every entry of a folder, hidden ones included, by name.
QStringList Entries(const QString &Folder)
{
    return QDir(Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString LinkTarget(const QString &Path)
{
    return PathKindNoFollow(Path) == pkLink ? QFile::symLinkTarget(Path) : QString();
}

// A user edit and a save, as the workbench makes them.
bool EditAndSave(TNodePair &Project, const char *Text)
{
    Project.Item("a")->setTranslateValue(Text);
    return Project.Lang->SaveFile(QString());
}

} // namespace

// ---- Links: nothing outside the project's res folder is written, renamed or deleted.

struct TLinkCase
{
    const char *Name;
    enum { WorkFile, BackupFile, LanguageFile, LanguageFileAfterFirstSave, LanguageFolder } Place;
    bool Dangling; // the link leads to nothing
    bool Opens;
};

class LinkInTheProject : public ::testing::TestWithParam<TLinkCase>
{
};

TEST_P(LinkInTheProject, NothingOutsideIsTouched)
{
    const TLinkCase &c = GetParam();
    QTemporaryDir outside;
    const QString target = outside.path() + "/strings.xml";
    if (!c.Dangling)
        ASSERT_TRUE(TestSupport::WriteFile(target, LanguageXml));
    const QStringList outsideBefore = Entries(outside.path());

    TNodePair project;
    ASSERT_TRUE(TestSupport::WriteFile(project.LangPath(), LanguageXml));
    QString link;
    switch (c.Place) {
    case TLinkCase::WorkFile:
        link = project.WorkPath();
        ASSERT_TRUE(QFile::link(target, link));
        break;
    case TLinkCase::BackupFile:
        link = project.BackupPath();
        ASSERT_TRUE(QFile::link(target, link));
        break;
    case TLinkCase::LanguageFile:
        link = project.LangPath();
        ASSERT_TRUE(QFile::remove(link) && QFile::link(target, link));
        break;
    case TLinkCase::LanguageFileAfterFirstSave:
        break;
    case TLinkCase::LanguageFolder:
        link = QFileInfo(project.LangPath()).path();
        ASSERT_TRUE(QDir(link).removeRecursively() && QFile::link(outside.path(), link));
        break;
    }
    ASSERT_TRUE(project.Open(DefaultXml, nullptr));
    EXPECT_EQ(project.LangParsed, c.Opens);
    if (project.LangParsed) {
        EXPECT_TRUE(EditAndSave(project, "Neu"));
        if (c.Place == TLinkCase::LanguageFileAfterFirstSave) {
            link = project.LangPath();
            ASSERT_TRUE(QFile::remove(link) && QFile::link(target, link));
            EXPECT_FALSE(EditAndSave(project, "Neuer")); // later saves write the file directly: never through a link
        } else {
            EXPECT_TRUE(EditAndSave(project, "Neuer"));
        }
    }
    project.Lang.reset(); // closing

    EXPECT_EQ(Entries(outside.path()), outsideBefore);
    if (!c.Dangling)
        EXPECT_EQ(TestSupport::ReadFile(target), LanguageXml);
    // A link found where a work or backup file goes is kept aside; one in the language file's place is replaced by
    // the saved file on the first save.
    const QString folder = QFileInfo(project.LangPath()).path();
    if (!c.Opens) {
        EXPECT_EQ(LinkTarget(link), c.Place == TLinkCase::LanguageFolder ? outside.path() : target);
        return;
    }
    switch (c.Place) {
    case TLinkCase::WorkFile:
    case TLinkCase::BackupFile:
        EXPECT_EQ(LinkTarget(folder + "/." + QFileInfo(link).fileName() + ".kept-1"), target);
        EXPECT_TRUE(project.LangFile().contains(">Neuer<"));
        break;
    case TLinkCase::LanguageFile:
        EXPECT_EQ(PathKindNoFollow(project.LangPath()), pkRegular);
        EXPECT_TRUE(project.LangFile().contains(">Neuer<"));
        break;
    case TLinkCase::LanguageFileAfterFirstSave:
    case TLinkCase::LanguageFolder:
        EXPECT_EQ(LinkTarget(link), target);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Places, LinkInTheProject,
                         ::testing::Values(TLinkCase{"WorkFileToAFile", TLinkCase::WorkFile, false, true},
                                           TLinkCase{"WorkFileDangling", TLinkCase::WorkFile, true, true},
                                           TLinkCase{"BackupFileToAFile", TLinkCase::BackupFile, false, true},
                                           TLinkCase{"BackupFileDangling", TLinkCase::BackupFile, true, true},
                                           TLinkCase{"LanguageFileToAFile", TLinkCase::LanguageFile, false, true},
                                           TLinkCase{"LanguageFileDangling", TLinkCase::LanguageFile, true, false},
                                           TLinkCase{"LanguageFileLinkedAfterTheFirstSave", TLinkCase::LanguageFileAfterFirstSave, false, true},
                                           TLinkCase{"LanguageFolderToAFolder", TLinkCase::LanguageFolder, false, false}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

// ---- A language "file" that is not a regular file is refused at load, and nothing is renamed.

struct TNotAFileCase
{
    const char *Name;
    enum { Folder, Fifo, LinkToDevice, LinkToFolder } Kind;
};

class NotAFile : public ::testing::TestWithParam<TNotAFileCase>
{
};

TEST_P(NotAFile, IsRefusedAndStaysWhereItIs)
{
    TNodePair project;
    const QString path = project.LangPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    switch (GetParam().Kind) {
    case TNotAFileCase::Folder:
        ASSERT_TRUE(QDir().mkpath(path + "/inside"));
        break;
    case TNotAFileCase::Fifo:
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0); // reading it would wait for a writer
        break;
    case TNotAFileCase::LinkToDevice:
        ASSERT_TRUE(QFile::link("/dev/zero", path)); // reading it would never end
        break;
    case TNotAFileCase::LinkToFolder:
        ASSERT_TRUE(QDir().mkpath(project.Dir.path() + "/res/values-fr"));
        ASSERT_TRUE(QFile::link(project.Dir.path() + "/res/values-fr", path));
        break;
    }
    const tPathKind kind = PathKindNoFollow(path);
    ASSERT_TRUE(project.Open(DefaultXml, nullptr));
    EXPECT_EQ(project.LangLoad, lrfError);
    EXPECT_FALSE(project.LangParsed);
    if (project.LangParsed)
        EditAndSave(project, "Neu");
    project.Lang.reset();
    EXPECT_EQ(PathKindNoFollow(path), kind);
    EXPECT_EQ(Entries(QFileInfo(path).path()), QStringList{"strings.xml"});
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotAFile,
                         ::testing::Values(TNotAFileCase{"Folder", TNotAFileCase::Folder}, TNotAFileCase{"Fifo", TNotAFileCase::Fifo},
                                           TNotAFileCase{"LinkToDevZero", TNotAFileCase::LinkToDevice},
                                           TNotAFileCase{"LinkToAFolder", TNotAFileCase::LinkToFolder}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

// ---- Work and backup files found at load: kept unless they hold nothing of their own.

struct TLeftoverCase
{
    const char *Name;
    bool Backup; // a backup file, else a work file
    enum { Differs, SameAsLanguageFile, SameAsRebuild } Content;
};

class LeftoverAtLoad : public ::testing::TestWithParam<TLeftoverCase>
{
};

TEST_P(LeftoverAtLoad, IsKeptAsideUnlessItHoldsNothingOfItsOwn)
{
    const TLeftoverCase &c = GetParam();
    QByteArray leftover = ValuesXml(StringXml("a", "Nur hier"));
    if (c.Content == TLeftoverCase::SameAsLanguageFile)
        leftover = LanguageXml;
    if (c.Content == TLeftoverCase::SameAsRebuild) {
        TNodePair earlier;
        ASSERT_TRUE(earlier.Open(DefaultXml, LanguageXml));
        leftover = earlier.WorkFile();
        ASSERT_NE(leftover, LanguageXml);
    }
    TNodePair project;
    const QString path = c.Backup ? project.BackupPath() : project.WorkPath();
    ASSERT_TRUE(TestSupport::WriteFile(path, leftover));
    ASSERT_TRUE(project.Open(DefaultXml, LanguageXml));
    ASSERT_TRUE(project.LangParsed);

    const QString folder = QFileInfo(path).path();
    const QString kept = folder + "/." + QFileInfo(path).fileName() + ".kept-1";
    if (c.Content == TLeftoverCase::Differs)
        EXPECT_EQ(TestSupport::ReadFile(kept), leftover);
    else
        EXPECT_FALSE(QFileInfo::exists(kept));
    EXPECT_EQ(PathKindNoFollow(project.BackupPath()), pkNone);
    EXPECT_TRUE(EditAndSave(project, "Neu"));
    project.Lang.reset();
    const QStringList expected = c.Content == TLeftoverCase::Differs ? QStringList{QFileInfo(kept).fileName(), "strings.xml"}
                                                                     : QStringList{"strings.xml"};
    EXPECT_EQ(Entries(folder), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, LeftoverAtLoad,
                         ::testing::Values(TLeftoverCase{"WorkFileOfItsOwn", false, TLeftoverCase::Differs},
                                           TLeftoverCase{"WorkFileLikeTheLanguageFile", false, TLeftoverCase::SameAsLanguageFile},
                                           TLeftoverCase{"WorkFileLikeTheRebuild", false, TLeftoverCase::SameAsRebuild},
                                           TLeftoverCase{"BackupFileOfItsOwn", true, TLeftoverCase::Differs},
                                           TLeftoverCase{"BackupFileLikeTheLanguageFile", true, TLeftoverCase::SameAsLanguageFile},
                                           TLeftoverCase{"BackupFileLikeTheRebuild", true, TLeftoverCase::SameAsRebuild}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileDisk, TheOnlyCopyOfAnEditSurvivesTheNextOpens)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(DefaultXml, LanguageXml));
    // A backup file put there meanwhile fails the first save: the edit lives only in the work file, which closing
    // keeps (and the backup file, no copy of anything this node had, goes).
    ASSERT_TRUE(TestSupport::WriteFile(project.BackupPath(), "stale"));
    EXPECT_FALSE(EditAndSave(project, "Nur im Arbeitsfile"));
    project.Lang.reset();
    const QByteArray work = project.WorkFile();
    ASSERT_TRUE(work.contains("Nur im Arbeitsfile"));

    // Opening again keeps it aside, under a name that no later open or save takes.
    const QString folder = QFileInfo(project.LangPath()).path();
    ASSERT_TRUE(project.OpenLanguage());
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(TestSupport::ReadFile(folder + "/.strings.tmp.kept-1"), work);
    EXPECT_TRUE(EditAndSave(project, "Gespeichert"));
    project.Lang.reset();

    ASSERT_TRUE(TestSupport::WriteFile(project.WorkPath(), "another"));
    ASSERT_TRUE(project.OpenLanguage());
    EXPECT_TRUE(EditAndSave(project, "Wieder"));
    project.Lang.reset();
    EXPECT_EQ(TestSupport::ReadFile(folder + "/.strings.tmp.kept-1"), work);
    EXPECT_EQ(TestSupport::ReadFile(folder + "/.strings.tmp.kept-2"), QByteArray("another"));
    EXPECT_EQ(Entries(folder), (QStringList{".strings.tmp.kept-1", ".strings.tmp.kept-2", "strings.xml"}));
    // The project listing takes none of them for a resource file.
    QStringList listed;
    ListXmlFiles(folder + "/", listed);
    EXPECT_EQ(listed, QStringList{"strings.xml"});
}

// ---- A project the user may only read opens; only a save fails.

TEST(ResourceFileDisk, ReadOnlyProjectOpensAndOnlyASaveFails)
{
    const QString asNobody = qEnvironmentVariable("GLOSSMILL_READONLY_RES");
    if (!asNobody.isEmpty()) {
        ASSERT_NE(::geteuid(), 0u);
        const QStringList before = Entries(asNobody + "/values-de");
        auto base = TNodePair::NewNode(false);
        ASSERT_EQ(base->LoadResFile(asNobody + "/values/strings.xml"), lrfOK);
        ASSERT_TRUE(base->Parse());
        auto lang = TNodePair::NewNode(false);
        lang->LocaleDesc.LocaleName = "German";
        lang->setBaseTemplate(base.get());
        ASSERT_EQ(lang->LoadResFile(asNobody + "/values-de/strings.xml"), lrfOK);
        EXPECT_TRUE(lang->Parse());
        ASSERT_NE(lang->GetItemByID("a"), nullptr);
        EXPECT_EQ(lang->GetItemByID("a")->FTranslatedValue, QString("Eins"));
        EXPECT_FALSE(lang->NeedSave());
        lang->GetItemByID("a")->setTranslateValue("Neu");
        EXPECT_FALSE(lang->SaveFile(QString()));
        EXPECT_TRUE(lang->NeedSave());
        lang.reset();
        EXPECT_EQ(Entries(asNobody + "/values-de"), before);
        return;
    }
    if (::geteuid() != 0)
        GTEST_SKIP() << "runs as the user nobody, which only root can switch to";
    TNodePair project;
    ASSERT_TRUE(TestSupport::WriteFile(project.DefaultPath(), DefaultXml));
    ASSERT_TRUE(TestSupport::WriteFile(project.LangPath(), LanguageXml));
    ASSERT_TRUE(TestSupport::MakeReadableToAll(project.Dir.path()));
    const int code = TestSupport::RunCurrentTestAsNobody("GLOSSMILL_READONLY_RES", project.Dir.path() + "/res");
    if (code == 126 || code == 127)
        GTEST_SKIP() << "the user nobody may not run this test program where it lies";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(project.LangFile(), LanguageXml);
}
