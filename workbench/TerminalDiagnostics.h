#pragma once

// The environment variable that brings back Qt's and the web engine's diagnostics on the terminal when set to
// anything but empty or "0".
inline constexpr char DiagnosticsVariable[] = "GLOSSMILL_DEBUG";

bool DiagnosticsWanted();

// Unless diagnostics are wanted: Qt's debug and info messages are off (QT_LOGGING_RULES still wins) and the web
// engine logs fatal errors only (unless QTWEBENGINE_CHROMIUM_FLAGS names a log level). Warnings, fatal errors and
// crash reports still show. Call before the application object is made.
void QuietDiagnostics();
