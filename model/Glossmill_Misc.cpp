#include "Glossmill_Misc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString GlossmillFolder = QStringLiteral("glossmill");

TExceptionLogger &ExceptionLogger()
{
    static TExceptionLogger logger;
    return logger;
}

QString FoldAZ(const QString &Text, char16_t From, char16_t To)
{
    QString result = Text;
    for (QChar &c : result) {
        if (c.unicode() >= From && c.unicode() <= To)
            c = QChar(c.unicode() ^ 0x20);
    }
    return result;
}

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

bool IsSplitWhiteSpace(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

QString InGlossmillFolder(const QString &Name)
{
    return GetCommonDocumentsFolder() + GlossmillFolder + QLatin1Char('/') + Name;
}

QMenu *PopupMenuOf(QWidget *Control)
{
    if (auto *button = qobject_cast<QPushButton *>(Control); button && button->menu())
        return button->menu();
    if (auto *button = qobject_cast<QToolButton *>(Control); button && button->menu())
        return button->menu();
    return qobject_cast<QMenu *>(Control->property("PopupMenu").value<QObject *>());
}

// By name with the letters a to z folded, as the file system the design was written for lists a folder; names
// that differ in case only keep a fixed order.
QStringList SortedByNameAZ(const QStringList &Names)
{
    QList<std::pair<QString, QString>> keyed;
    keyed.reserve(Names.size());
    for (const QString &name : Names)
        keyed.append({UpperCaseAZ(name), name});
    std::sort(keyed.begin(), keyed.end());
    QStringList sorted;
    sorted.reserve(keyed.size());
    for (const auto &entry : keyed)
        sorted.append(entry.second);
    return sorted;
}

bool PathExists(const QByteArray &Path)
{
    struct stat st;
    return ::lstat(Path.constData(), &st) == 0;
}

} // namespace

QString TrimControls(const QString &Text)
{
    qsizetype start = 0;
    qsizetype end = Text.size();
    while (start < end && IsBlankOrControl(Text.at(start)))
        ++start;
    while (end > start && IsBlankOrControl(Text.at(end - 1)))
        --end;
    return Text.mid(start, end - start);
}

QString UpperCaseAZ(const QString &Text)
{
    return FoldAZ(Text, u'a', u'z');
}

QString LowerCaseAZ(const QString &Text)
{
    return FoldAZ(Text, u'A', u'Z');
}

bool SameTextAZ(const QString &A, const QString &B)
{
    return A.size() == B.size() && UpperCaseAZ(A) == UpperCaseAZ(B);
}

void SplitWhiteSpace(const QString &Value, QString &WhSpaceHeader, QString &WhSpaceTrailer, QString &Core)
{
    qsizetype start = 0;
    while (start < Value.size() && IsSplitWhiteSpace(Value.at(start)))
        ++start;
    if (start == Value.size()) {
        WhSpaceHeader.clear();
        WhSpaceTrailer.clear();
        Core = Value;
        return;
    }
    qsizetype end = Value.size();
    while (IsSplitWhiteSpace(Value.at(end - 1)))
        --end;
    WhSpaceHeader = Value.left(start);
    WhSpaceTrailer = Value.mid(end);
    Core = Value.mid(start, end - start);
}

QString StripFileExtension(const QString &FileName)
{
    const qsizetype dot = FileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? FileName : FileName.left(dot);
}

QString GetCommonDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString GetIniFileName()
{
    return InGlossmillFolder(QStringLiteral("Glossmill.ini"));
}

QString GetExampleProjectFolder()
{
    return InGlossmillFolder(QStringLiteral("VorelGlossmill_ExampleApp"));
}

QString GetNotepadFileName()
{
    return InGlossmillFolder(QStringLiteral("glossmillnotepad.rtf"));
}

QString LocalizeText(const QString &Text)
{
    return Text;
}

QString GetAppVersion()
{
    return QStringLiteral(GLOSSMILL_VERSION);
}

void LogException(const std::exception *E, const QString &Message)
{
    if (ExceptionLogger())
        ExceptionLogger()(E, Message);
}

void SetExceptionLogger(TExceptionLogger Logger)
{
    ExceptionLogger() = std::move(Logger);
}

void PopupMenuUnderControl(QWidget *Control)
{
    if (!Control)
        return;
    if (QMenu *menu = PopupMenuOf(Control))
        menu->popup(Control->mapToGlobal(QPoint(0, Control->height())));
}

void ListSubFolders(const QString &Folder, QStringList &List)
{
    const QStringList names =
        SortedByNameAZ(QDir(Folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted));
    for (const QString &name : names) {
        if (!name.startsWith(QLatin1Char('.')))
            List.append(name);
    }
}

void ListXmlFiles(const QString &Folder, QStringList &List)
{
    const QStringList names = SortedByNameAZ(QDir(Folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted));
    for (const QString &name : names) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && LowerCaseAZ(name.mid(dot)) == QLatin1String(".xml"))
            List.append(name);
    }
}

void AddFolderToPath(const QString &Folder)
{
    QString path = TrimControls(QString::fromLocal8Bit(qgetenv("PATH")));
    // An empty entry would put the current folder on the search path.
    while (path.endsWith(QLatin1Char(':')))
        path.chop(1);
    QString folder = Folder;
    if (folder.size() > 2 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty())
        return;
    qputenv("PATH", (path.isEmpty() ? folder : path + QLatin1Char(':') + folder).toLocal8Bit());
}

bool DeleteFolderTree(const QString &Folder, int &Code)
{
    try {
        if (Folder.isEmpty()) {
            Code = EINVAL;
            return false;
        }
        const QFileInfo info(Folder);
        if (info.isSymLink()) {
            // Only the link goes, never what it points at.
            const bool removed = QFile::remove(Folder);
            Code = removed ? 0 : EIO;
            return removed;
        }
        if (!info.exists()) {
            Code = ENOENT;
            return false;
        }
        if (!info.isDir()) {
            Code = ENOTDIR;
            return false;
        }
        QDir dir(info.absoluteFilePath());
        if (dir.isRoot()) {
            Code = EPERM;
            return false;
        }
        const bool removed = dir.removeRecursively();
        Code = removed ? 0 : EIO;
        return removed;
    } catch (const std::exception &) {
        return false;
    }
}

bool MoveFileNoReplace(const QString &From, const QString &To)
{
    const QByteArray from = QFile::encodeName(From);
    const QByteArray to = QFile::encodeName(To);
    if (from.isEmpty() || to.isEmpty())
        return false;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot rename without replacing: a hard link fails on an existing target just as well.
    if (::link(from.constData(), to.constData()) == 0)
        return ::unlink(from.constData()) == 0;
    if (errno == EEXIST || PathExists(to))
        return false;
    return ::rename(from.constData(), to.constData()) == 0;
}
