#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <optional>

#include "TerminalDiagnostics.h"

// A normal start keeps Qt's and the web engine's chatter off the terminal; GLOSSMILL_DEBUG brings it back.
namespace {

struct TEnvGuard
{
    QByteArray debug = qgetenv(DiagnosticsVariable);
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    ~TEnvGuard()
    {
        Restore(DiagnosticsVariable, debug);
        Restore("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        QLoggingCategory::setFilterRules(QString());
    }
    static void Restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
};

void Set(const char *name, const char *value)
{
    if (value)
        qputenv(name, value);
    else
        qunsetenv(name);
}

TEST(TerminalDiagnostics, QuietUnlessGlossmillDebugAsksForThem)
{
    struct Case
    {
        const char *what;
        const char *debug;
        const char *flagsBefore;
        bool quiet;
        const char *flagsAfter;
    } cases[] = {
        {"not set", nullptr, nullptr, true, "--log-level=3"},
        {"empty", "", nullptr, true, "--log-level=3"},
        {"0", "0", nullptr, true, "--log-level=3"},
        {"not set, the user's flags kept", nullptr, "--disable-gpu", true, "--disable-gpu --log-level=3"},
        {"not set, the user's log level kept", nullptr, "--log-level=0", true, "--log-level=0"},
        {"1", "1", nullptr, false, nullptr},
        {"yes, with flags", "yes", "--disable-gpu", false, "--disable-gpu"},
    };
    for (const Case &c : cases) {
        TEnvGuard guard;
        QLoggingCategory::setFilterRules(QString());
        Set(DiagnosticsVariable, c.debug);
        Set("QTWEBENGINE_CHROMIUM_FLAGS", c.flagsBefore);
        EXPECT_EQ(DiagnosticsWanted(), !c.quiet) << c.what;
        QuietDiagnostics();

        const QLoggingCategory engine("qt.webenginecontext");
        EXPECT_EQ(engine.isInfoEnabled(), !c.quiet) << c.what;
        EXPECT_EQ(QLoggingCategory::defaultCategory()->isInfoEnabled(), !c.quiet) << c.what;
        EXPECT_EQ(QLoggingCategory::defaultCategory()->isDebugEnabled(), !c.quiet) << c.what;
        EXPECT_TRUE(engine.isWarningEnabled()) << c.what;
        EXPECT_TRUE(QLoggingCategory::defaultCategory()->isCriticalEnabled()) << c.what;
        EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), QByteArray(c.flagsAfter)) << c.what;
    }
}

} // namespace
