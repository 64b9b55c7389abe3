#pragma once
// What the XML layer's files share: the document (GlossmillXml.cpp), its reader, its writer and the layout that
// the two keep between them. Not for use outside them.
#include <QString>

#include <string>
#include <unordered_set>

namespace GlossmillXml::Impl {

// Stands in the tree for a "&#0160;" that a translation holds, so that the writer can put the reference itself
// into the file. U+FDD0 is a noncharacter: real text never holds it. This is its UTF-8.
inline constexpr char RefSentinelUtf8[] = "\xEF\xB7\x90";

inline bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

inline bool IsWhitespaceOnly(const char *s)
{
    for (; *s; ++s)
        if (!IsXmlSpace(*s))
            return false;
    return true;
}

// An encoding's name as the declaration gives it, compared loosely: upper case, no blanks around it, no "_".
inline QString NormalEncodingName(const QString &Name)
{
    return Name.trimmed().toUpper().remove(QLatin1Char('_'));
}

// These take a name made by NormalEncodingName; no name at all is UTF-8.
inline bool IsUtf8Name(const QString &n)
{
    return n.isEmpty() || n == "UTF-8" || n == "UTF8";
}

inline bool IsLatin1Name(const QString &n)
{
    return n == "ISO-8859-1" || n == "LATIN1" || n == "LATIN-1" || n == "ISO8859-1" || n == "L1";
}

inline bool IsAsciiName(const QString &n)
{
    return n == "US-ASCII" || n == "ASCII";
}

// The general entities that a doctype's internal subset declares ("<!ENTITY name ...>", not "<!ENTITY % name ...>").
std::unordered_set<std::string> DeclaredEntities(const char *Doctype);

} // namespace GlossmillXml::Impl
