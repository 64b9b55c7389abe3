#pragma once
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <ostream>

#include "Glossmill_Misc.h"

// Points the documents folder (and so the settings, notepad and example paths) into a fresh temporary home for
// the life of the object, with the "glossmill" folder made as an installer would.
class TTestHome
{
public:
    explicit TTestHome(bool withGlossmillFolder = true)
        : m_oldHome(qgetenv("HOME")), m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", m_dir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + "/.config").toLocal8Bit());
        if (withGlossmillFolder)
            QDir().mkpath(GlossmillFolder());
    }
    ~TTestHome()
    {
        qputenv("HOME", m_oldHome);
        if (m_oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }
    TTestHome(const TTestHome &) = delete;
    TTestHome &operator=(const TTestHome &) = delete;

    QString Path() const { return m_dir.path(); }
    static QString GlossmillFolder() { return GetCommonDocumentsFolder() + "glossmill"; }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldConfig;
};

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
