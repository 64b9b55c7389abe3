#pragma once
#include <QByteArray>

class QTextDocument;

// Rich text of the notepad as RTF: what the box holds (paragraphs, alignment, font, size, bold, italic,
// underline, strike-out, text colour) written as plain 7-bit RTF and read back from it.

// The whole document as one RTF file, 7-bit only: Windows-1252 letters as \'hh, every other character as
// \uN escapes (one per UTF-16 unit) with an ASCII fallback for readers that skip them.
QByteArray DocumentToRtf(const QTextDocument *doc);

// Replaces the content of `doc` with the RTF text `rtf`; false (and `doc` untouched) when `rtf` is not RTF
// or its groups do not balance. Unknown control words and destinations are skipped; the undo history is cleared.
bool RtfToDocument(const QByteArray &rtf, QTextDocument *doc);
