#pragma once
#include <QString>

// A settings file of named sections with key=value lines, read and written like a Windows private profile:
// section and key names match case-insensitively (letters a to z folded), the first match wins, values are read
// with their surrounding blanks trimmed, and every write rewrites the file at once, keeping every other line
// (other sections, comments, blank lines) as it was. The object holds nothing but the file name: each call reads
// the file afresh, so several objects on the same file never overwrite each other's changes.
class TIniFile
{
public:
    // Longest text ReadString returns unless told otherwise.
    static constexpr int DefaultMaxLength = 2047;

    explicit TIniFile(const QString &fileName);

    QString FileName() const;

    // The key's value; defaultValue when the file, section or key is missing. A key present with an empty value
    // reads as empty. At most maxLength characters are returned (0 or less: no limit).
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue,
                       int maxLength = DefaultMaxLength) const;
    // Decimal, or hexadecimal after "0x"/"0X"; a missing, empty or unreadable value gives defaultValue.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // An integer value, non-zero meaning true; unreadable gives defaultValue.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    // Each writer returns false when the file could not be written (missing folder, a folder in the file's
    // place, an existing file that cannot be read); the file is then left untouched. Line breaks in a value
    // are dropped so that a value can never split into lines of its own.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool WriteBool(const QString &section, const QString &key, bool value); // "1" or "0"

    // Removes every section of that name with all its lines; true when there was nothing to remove.
    bool EraseSection(const QString &section);
    // Removes the key from the section; true when there was nothing to remove.
    bool DeleteKey(const QString &section, const QString &key);

    // "Unable to write to " followed by the file's path: the text to show when a writer returned false.
    QString WriteErrorText() const;

private:
    QString FFileName;
};
