#pragma once
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

class QWidget;

// Case-insensitive comparisons of names fold the ASCII letters a to z only.
QString UpperCaseAZ(const QString &Text);
QString LowerCaseAZ(const QString &Text);
bool SameTextAZ(const QString &A, const QString &B);

// Like the classic Trim: blanks and control characters (code 32 and below) off both ends.
QString TrimControls(const QString &Text);

// Leading and trailing whitespace (TAB, LF, CR, SPACE only) and the core between; all-whitespace stays whole in Core.
void SplitWhiteSpace(const QString &Value, QString &WhSpaceHeader, QString &WhSpaceTrailer, QString &Core);

// The text before its last "." (which may lie in a folder name); without a "." the text itself.
QString StripFileExtension(const QString &FileName);

// The user's documents folder ending with "/", the home folder when Qt knows none.
QString GetCommonDocumentsFolder();
QString GetIniFileName();
QString GetExampleProjectFolder(); // no trailing "/"
QString GetNotepadFileName();

// Identity hook for texts shown to the user.
QString LocalizeText(const QString &Text);
QString GetAppVersion();

// Receives the exceptions the model and the commands catch (E may be nullptr, Message may be empty). Shows nothing.
void LogException(const std::exception *E, const QString &Message);
// Where logged exceptions go; an empty function (the default) drops them.
using TExceptionLogger = std::function<void(const std::exception *E, const QString &Message)>;
void SetExceptionLogger(TExceptionLogger Logger);

// Pops up the control's menu (a button's menu, else a QMenu in its "PopupMenu" property) under its bottom-left corner.
// Without a menu nothing happens.
void PopupMenuUnderControl(QWidget *Control);

// Appends the names of the folder's sub-folders, without hidden ("."-prefixed) ones, by name with a to z folded;
// Folder ends with "/". A missing folder appends nothing.
void ListSubFolders(const QString &Folder, QStringList &List);
// Appends the names of all entries, folders and hidden ones included, whose extension is ".xml" in any case, by
// name with a to z folded.
void ListXmlFiles(const QString &Folder, QStringList &List);

// Appends the folder to PATH, without a final "/" and without leaving empty entries.
void AddFolderToPath(const QString &Folder);

// Deletes the folder and everything in it for good. True and Code 0 on success; false and a non-zero errno-style
// Code otherwise: a missing folder, a file, an empty path or a root folder are refused.
bool DeleteFolderTree(const QString &Folder, int &Code);

// Renames a file or folder; fails (false) when the target exists, never replacing it.
bool MoveFileNoReplace(const QString &From, const QString &To);

// What stands at a path; a link is not followed.
enum tPathKind : unsigned char { pkNone, pkRegular, pkFolder, pkLink, pkOther };
tPathKind PathKindNoFollow(const QString &Path);

// Reads a whole regular file, following links. Anything else (a folder, a device, a FIFO) is refused without being
// read, and never blocks. False with Error set on failure.
bool ReadRegularFile(const QString &Path, QByteArray &Bytes, QString &Error);
// The same, into memory that Room(Size) hands out: room for Size bytes that begins with what was read so far (Size is
// one more than the file's size, and grows only when the file does while it is read). The bytes read, or -1;
// LastWrite, when given, the file's last write (ns since 1970). KnownRegular: the caller has just seen a regular file
// there (not a link), so that it is opened without a look first; it is still refused if it is none.
qint64 ReadRegularFileInto(const QString &Path, const std::function<char *(qint64 Size)> &Room, QString &Error,
                           qint64 *LastWrite = nullptr, bool KnownRegular = false);
// Makes Data the whole content of a regular file; never writes through a link or into anything else. With CreateNew
// nothing may stand at Path yet; otherwise an existing regular file is rewritten in place. False with Error set.
bool WriteRegularFile(const QString &Path, const char *Data, qint64 Size, bool CreateNew, QString &Error);

// Renames the file (a link itself, never what it points at) to "." + its name + ".kept-N" in the same folder, with
// the lowest N that is free, so that no later save reuses the name. The new path; empty when it could not be renamed.
QString SetFileAside(const QString &Path);
