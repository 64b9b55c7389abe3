#include "TerminalDiagnostics.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QtGlobal>

namespace {

// Chromium's levels: 0 info, 1 warning, 2 error, 3 fatal.
const QByteArray FatalOnly = "--log-level=3";

} // namespace

bool DiagnosticsWanted()
{
    const QByteArray value = qgetenv(DiagnosticsVariable).trimmed();
    return !value.isEmpty() && value != "0";
}

void QuietDiagnostics()
{
    if (DiagnosticsWanted())
        return;
    // A start prints the web engine's set-up ("qt.webenginecontext: GL Type ...", "Sandboxing disabled by user.")
    // as info messages, which a user reads as errors.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--log-level"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? FatalOnly : flags + ' ' + FatalOnly);
}
