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
#include <cstring>
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

QString ErrnoText(int Code)
{
    return QString::fromLocal8Bit(std::strerror(Code));
}

// Calls a read or write again while a signal interrupts it.
template <typename F>
ssize_t WithoutInterrupts(F Call)
{
    ssize_t n;
    do
        n = Call();
    while (n < 0 && errno == EINTR);
    return n;
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
    if (start == 0 && end == Value.size()) {
        // Most texts: nothing around them, and the core shares the text.
        WhSpaceHeader.clear();
        WhSpaceTrailer.clear();
        Core = Value;
        return;
    }
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

tPathKind PathKindNoFollow(const QString &Path)
{
    struct stat st {};
    if (Path.isEmpty() || ::lstat(QFile::encodeName(Path).constData(), &st) != 0)
        return pkNone;
    if (S_ISREG(st.st_mode))
        return pkRegular;
    if (S_ISDIR(st.st_mode))
        return pkFolder;
    if (S_ISLNK(st.st_mode))
        return pkLink;
    return pkOther;
}

qint64 ReadRegularFileInto(const QString &Path, const std::function<char *(qint64 Size)> &Room, QString &Error,
                           qint64 *LastWrite, bool KnownRegular)
{
    const QByteArray path = QFile::encodeName(Path);
    struct stat st {};
    // Opening a FIFO or a device may block or never end; only a regular file is opened at all.
    if (!KnownRegular && ::stat(path.constData(), &st) != 0) {
        Error = ErrnoText(errno);
        return -1;
    }
    if (!KnownRegular && !S_ISREG(st.st_mode)) {
        Error = QStringLiteral("not a regular file");
        return -1;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Error = ErrnoText(errno);
        return -1;
    }
    struct TCloser
    {
        int Fd;
        ~TCloser() { ::close(Fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Error = QStringLiteral("not a regular file");
        return -1;
    }
    if (LastWrite)
        *LastWrite = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    // One byte beyond the size, so that the end of the file shows without a buffer of its own; more only when the
    // file grows while it is read.
    qint64 capacity = qint64(st.st_size) + 1;
    char *data = Room(capacity);
    qint64 size = 0;
    for (;;) {
        if (size == capacity) {
            capacity += std::max<qint64>(capacity, 65536);
            data = Room(capacity);
        }
        const ssize_t n = WithoutInterrupts([&] { return ::read(fd, data + size, size_t(capacity - size)); });
        if (n < 0) {
            Error = ErrnoText(errno);
            return -1;
        }
        if (n == 0)
            return size;
        size += n;
    }
}

bool ReadRegularFile(const QString &Path, QByteArray &Bytes, QString &Error)
{
    const qint64 size = ReadRegularFileInto(
        Path,
        [&Bytes](qint64 Size) {
            Bytes.resize(qsizetype(Size));
            return Bytes.data();
        },
        Error);
    Bytes.resize(qsizetype(std::max<qint64>(size, 0)));
    return size >= 0;
}

bool WriteRegularFile(const QString &Path, const char *Data, qint64 Size, bool CreateNew, QString &Error)
{
    const QByteArray path = QFile::encodeName(Path);
    // A new file: O_EXCL refuses anything already there, a link (even a dangling one) included.
    const tPathKind kind = CreateNew ? pkNone : PathKindNoFollow(Path);
    if (kind != pkNone && kind != pkRegular) {
        Error = QStringLiteral("not a regular file");
        return false;
    }
    // O_NOFOLLOW: a link put there meanwhile is refused, a dangling one too (it would create its target).
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (CreateNew ? O_EXCL : 0);
    const int fd = ::open(path.constData(), flags, 0666);
    if (fd < 0) {
        Error = CreateNew && errno == EEXIST ? QStringLiteral("something is already there") : ErrnoText(errno);
        return false;
    }
    struct stat st {};
    bool ok = CreateNew || (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode));
    if (!ok)
        Error = QStringLiteral("not a regular file");
    if (ok && !CreateNew && ::ftruncate(fd, 0) != 0) {
        Error = ErrnoText(errno);
        ok = false;
    }
    qint64 done = 0;
    while (ok && done < Size) {
        const ssize_t n = WithoutInterrupts([&] { return ::write(fd, Data + done, size_t(Size - done)); });
        if (n < 0) {
            Error = ErrnoText(errno);
            ok = false;
        } else {
            done += n;
        }
    }
    if (::close(fd) != 0 && ok) {
        Error = ErrnoText(errno);
        ok = false;
    }
    return ok;
}

QString SetFileAside(const QString &Path)
{
    const QFileInfo info(Path);
    const QString stem = info.path() + QLatin1Char('/') + QLatin1Char('.') + info.fileName() + QStringLiteral(".kept-");
    for (int n = 1; n < 10000; ++n) {
        const QString target = stem + QString::number(n);
        if (PathKindNoFollow(target) != pkNone)
            continue;
        if (MoveFileNoReplace(Path, target))
            return target;
        // Taken meanwhile: try the next; any other failure ends it.
        if (PathKindNoFollow(target) == pkNone)
            return QString();
    }
    return QString();
}
