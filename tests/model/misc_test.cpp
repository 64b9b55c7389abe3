#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "Glossmill_Misc.h"
#include "TestSupport.h"

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

// Restores PATH after a test changed it.
struct TPathGuard
{
    QByteArray saved = qgetenv("PATH");
    ~TPathGuard() { qputenv("PATH", saved); }
};

} // namespace

TEST(Misc, SplitWhiteSpace)
{
    struct Case { const char *name; QString value, header, trailer, core; };
    const Case cases[] = {
        {"empty", "", "", "", ""},
        {"no whitespace", "word", "", "", "word"},
        {"both sides", "  word \n", "  ", " \n", "word"},
        {"inner kept", "\ta b\r", "\t", "\r", "a b"},
        {"only spaces and tabs", " \t  ", "", "", " \t  "},
        {"only line breaks", "\n\r\n", "", "", "\n\r\n"},
        {"no-break space is text", QString(QChar(0xA0)) + "x" + QChar(0xA0), "", "", QString(QChar(0xA0)) + "x" + QChar(0xA0)},
        {"other control is text", "\vx\f", "", "", "\vx\f"},
        {"single char", " x", " ", "", "x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString header = "junk", trailer = "junk", core = "junk";
        SplitWhiteSpace(c.value, header, trailer, core);
        EXPECT_EQ(header, c.header);
        EXPECT_EQ(trailer, c.trailer);
        EXPECT_EQ(core, c.core);
        EXPECT_EQ(header + core + trailer, c.value);
    }
}

TEST(Misc, StripFileExtension)
{
    const std::pair<QString, QString> cases[] = {
        {"/p/res/values/strings.xml", "/p/res/values/strings"},
        {"res.old/values/strings", "res"},
        {"strings", "strings"},
        {"strings.", "strings"},
        {"a.b.xml", "a.b"},
        {"", ""},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(StripFileExtension(in), out) << in.toStdString();
}

TEST(Misc, CaseFoldsAsciiLettersOnly)
{
    EXPECT_EQ(UpperCaseAZ("values-en-rus_posix"), "VALUES-EN-RUS_POSIX");
    EXPECT_EQ(UpperCaseAZ(QString::fromUtf8("äb")), QString::fromUtf8("äB"));
    EXPECT_EQ(LowerCaseAZ(QString::fromUtf8("ÄB.XML")), QString::fromUtf8("Äb.xml"));
    EXPECT_TRUE(SameTextAZ("Strings.XML", "strings.xml"));
    EXPECT_FALSE(SameTextAZ(QString::fromUtf8("Ä"), QString::fromUtf8("ä")));
    EXPECT_FALSE(SameTextAZ("ab", "abc"));
}

TEST(Misc, ProgramFilesLieUnderDocuments)
{
    const QString docs = GetCommonDocumentsFolder();
    EXPECT_TRUE(docs.endsWith('/'));
    QString expected = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (expected.isEmpty())
        expected = QDir::homePath();
    EXPECT_EQ(QDir::cleanPath(docs), QDir::cleanPath(expected));
    EXPECT_EQ(GetIniFileName(), docs + "glossmill/Glossmill.ini");
    EXPECT_EQ(GetExampleProjectFolder(), docs + "glossmill/VorelGlossmill_ExampleApp");
    EXPECT_EQ(GetNotepadFileName(), docs + "glossmill/glossmillnotepad.rtf");
}

TEST(Misc, Hooks)
{
    EXPECT_EQ(LocalizeText("Can not open project"), "Can not open project");
    EXPECT_EQ(GetAppVersion(), "1.0");

    LogException(nullptr, "dropped without a logger");
    QStringList seen;
    SetExceptionLogger([&](const std::exception *e, const QString &message) {
        seen << (e ? QString::fromUtf8(e->what()) : QString("none")) + "|" + message;
    });
    const std::runtime_error error("boom");
    LogException(&error, "");
    LogException(nullptr, "can not rename file from a to b");
    SetExceptionLogger({});
    LogException(nullptr, "dropped again");
    EXPECT_EQ(seen, QStringList({"boom|", "none|can not rename file from a to b"}));
}

TEST(Misc, PopupMenuUnderControl)
{
    QWidget window;
    window.resize(300, 200);
    auto *button = new QPushButton("Filter", &window);
    button->setGeometry(20, 30, 80, 25);
    auto *menu = new QMenu(button);
    menu->addAction("All");
    button->setMenu(menu);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    PopupMenuUnderControl(button);
    QTRY_VERIFY(menu->isVisible());
    EXPECT_EQ(menu->pos(), button->mapToGlobal(QPoint(0, 25)));
    menu->hide();

    // A plain widget names its menu in a property; without one nothing pops up.
    QWidget plain(&window);
    PopupMenuUnderControl(&plain);
    PopupMenuUnderControl(nullptr);
    QMenu own;
    own.addAction("Mark");
    plain.setProperty("PopupMenu", QVariant::fromValue<QObject *>(&own));
    plain.setGeometry(50, 60, 40, 10);
    PopupMenuUnderControl(&plain);
    QTRY_VERIFY(own.isVisible());
    EXPECT_EQ(own.pos(), plain.mapToGlobal(QPoint(0, 10)));
    own.hide();
}

// Both listings come by name with only a to z folded, as the design's comparisons fold: "_" (after "Z") sorts after
// "-" and after every letter, and letters beyond a to z keep their own code. Names that differ in case only keep a
// fixed order. The names are made in an order of their own, so that the file system's order shows through.
TEST(Misc, ListSubFolders)
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    for (const char *name : {"x.xml", "values_b", "Values-FR", "menu-fr", ".hidden", "values", "values-de"})
        ASSERT_TRUE(QDir().mkpath(root + name));
    ASSERT_TRUE(WriteFile(root + "file.txt", "x"));

    QStringList list{"kept"};
    ListSubFolders(root, list);
    EXPECT_EQ(list, QStringList({"kept", "menu-fr", "values", "values-de", "Values-FR", "values_b", "x.xml"}));

    QStringList none;
    ListSubFolders(root + "missing/", none);
    ListSubFolders(root + "values/", none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(Misc, ListXmlFiles)
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    for (const char *name : {"strings.xml", "MENU.XML", "Mixed.XmL", ".hidden.xml", "strings.xml.bak", "notes.txt",
                             "xml", "strings.tmp", "b.xml", "a_b.xml", "B.xml", "ab.xml", "\u00e9.xml", "\u00c9.xml",
                             "f.xml"})
        ASSERT_TRUE(WriteFile(root + QString::fromUtf8(name), "<x/>"));
    ASSERT_TRUE(QDir().mkpath(root + "folder.xml"));

    QStringList list{"kept"};
    ListXmlFiles(root, list);
    EXPECT_EQ(list, QStringList({"kept", ".hidden.xml", "ab.xml", "a_b.xml", "B.xml", "b.xml", "f.xml", "folder.xml",
                                 "MENU.XML", "Mixed.XmL", "strings.xml", QString::fromUtf8("\u00c9.xml"),
                                 QString::fromUtf8("\u00e9.xml")}));

    QStringList none;
    ListXmlFiles(root + "missing/", none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(Misc, AddFolderToPath)
{
    TPathGuard guard;
    struct Case { const char *name; QByteArray path; QString folder; QByteArray result; };
    const Case cases[] = {
        {"plain", "/usr/bin:/bin", "/opt/glossmill", "/usr/bin:/bin:/opt/glossmill"},
        {"final separator not doubled", "/usr/bin:/bin:", "/opt/glossmill", "/usr/bin:/bin:/opt/glossmill"},
        {"surrounding blanks trimmed", "  /usr/bin\n", "/opt/glossmill", "/usr/bin:/opt/glossmill"},
        {"final slash dropped", "/bin", "/opt/glossmill/", "/bin:/opt/glossmill"},
        {"short folder unchanged", "/bin", "a/", "/bin:a/"},
        {"root stays root", "/bin", "/", "/bin:/"},
        {"empty path gets no empty entry", "", "/opt/glossmill", "/opt/glossmill"},
        {"appended even when present", "/opt/glossmill", "/opt/glossmill", "/opt/glossmill:/opt/glossmill"},
        {"empty folder adds nothing", "/bin", "", "/bin"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("PATH", c.path);
        AddFolderToPath(c.folder);
        EXPECT_EQ(qgetenv("PATH"), c.result);
    }
}

TEST(Misc, DeleteFolderTree)
{
    QTemporaryDir tmp;
    const QString lang = tmp.path() + "/res/values-de";
    ASSERT_TRUE(WriteFile(lang + "/strings.xml", "<resources/>"));
    ASSERT_TRUE(WriteFile(lang + "/sub/.hidden", "x"));
    ASSERT_TRUE(WriteFile(tmp.path() + "/res/values/strings.xml", "<resources/>"));

    int code = -1;
    EXPECT_TRUE(DeleteFolderTree(lang, code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(QFileInfo::exists(lang));
    EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/res/values/strings.xml"));

    struct Case { const char *name; QString path; };
    const Case refused[] = {
        {"missing folder", lang},
        {"empty path", ""},
        {"a file", tmp.path() + "/res/values/strings.xml"},
        {"the root", "/"},
    };
    for (const Case &c : refused) {
        SCOPED_TRACE(c.name);
        code = 0;
        EXPECT_FALSE(DeleteFolderTree(c.path, code));
        EXPECT_NE(code, 0);
    }
    EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/res/values/strings.xml"));
}

TEST(Misc, DeleteFolderTreeRemovesALinkNotItsTarget)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(WriteFile(tmp.path() + "/target/keep.xml", "x"));
    ASSERT_TRUE(QFile::link(tmp.path() + "/target", tmp.path() + "/values-de"));
    int code = -1;
    EXPECT_TRUE(DeleteFolderTree(tmp.path() + "/values-de", code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(QFileInfo(tmp.path() + "/values-de").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/target/keep.xml"));
}

TEST(Misc, MoveFileNoReplace)
{
    QTemporaryDir tmp;
    const QString from = tmp.path() + "/strings.tmp";
    const QString to = tmp.path() + "/strings.xml";
    ASSERT_TRUE(WriteFile(from, "new"));
    ASSERT_TRUE(WriteFile(to, "old"));

    EXPECT_FALSE(MoveFileNoReplace(from, to));
    EXPECT_EQ(ReadFile(to), "old");
    EXPECT_EQ(ReadFile(from), "new");

    // A folder in the target's place stops it too.
    ASSERT_TRUE(QDir().mkpath(tmp.path() + "/strings.bck"));
    EXPECT_FALSE(MoveFileNoReplace(from, tmp.path() + "/strings.bck"));
    EXPECT_EQ(ReadFile(from), "new");

    EXPECT_TRUE(QFile::remove(to));
    EXPECT_TRUE(MoveFileNoReplace(from, to));
    EXPECT_EQ(ReadFile(to), "new");
    EXPECT_FALSE(QFileInfo::exists(from));

    EXPECT_FALSE(MoveFileNoReplace(tmp.path() + "/missing", tmp.path() + "/other"));
    EXPECT_FALSE(MoveFileNoReplace("", to));

    // Folders are renamed as well.
    ASSERT_TRUE(QDir().mkpath(tmp.path() + "/values-de"));
    EXPECT_TRUE(MoveFileNoReplace(tmp.path() + "/values-de", tmp.path() + "/values-fr"));
    EXPECT_TRUE(QFileInfo(tmp.path() + "/values-fr").isDir());
}

TEST(Misc, ReadRegularFileReadsTheWholeFile)
{
    QTemporaryDir dir;
    QByteArray large;
    for (int i = 0; large.size() < 300000; ++i)
        large += QByteArray::number(i) + ' ';
    ASSERT_TRUE(WriteFile(dir.path() + "/large", large));
    ASSERT_TRUE(WriteFile(dir.path() + "/empty", QByteArray()));
    QByteArray bytes = "old";
    QString error;
    EXPECT_TRUE(ReadRegularFile(dir.path() + "/large", bytes, error));
    EXPECT_EQ(bytes, large);
    EXPECT_TRUE(ReadRegularFile(dir.path() + "/empty", bytes, error));
    EXPECT_TRUE(bytes.isEmpty());
    // A file whose size the system does not give beforehand is read to its end all the same.
    EXPECT_TRUE(ReadRegularFile("/proc/self/status", bytes, error));
    EXPECT_TRUE(bytes.startsWith("Name:")) << bytes.left(40).toStdString();
    EXPECT_TRUE(bytes.contains("\nPid:")) << bytes.size();
    // Into memory of the caller's, which the reading may ask to grow.
    QByteArray room;
    const qint64 size = ReadRegularFileInto(
        dir.path() + "/large",
        [&room](qint64 Size) {
            room.resize(qsizetype(Size));
            return room.data();
        },
        error);
    EXPECT_EQ(size, large.size());
    EXPECT_EQ(room.left(qsizetype(size)), large);
    EXPECT_FALSE(ReadRegularFile(dir.path(), bytes, error));
    EXPECT_FALSE(ReadRegularFile(dir.path() + "/missing", bytes, error));
    EXPECT_FALSE(error.isEmpty());
}
