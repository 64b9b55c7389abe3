#pragma once
#include <QByteArray>
#include <limits>

class QTextDocument;

// Rich text of the notepad as RTF: what the box holds (paragraphs, alignment, font, size, bold, italic,
// underline, strike-out, text colour) written as plain 7-bit RTF and read back from it.

// The longest RTF text RtfToDocument reads: its positions are ints.
constexpr qint64 RtfMaxSize = std::numeric_limits<int>::max();

// The whole document as one RTF file, 7-bit only: Windows-1252 letters as \'hh, every other character as
// \uN escapes (one per UTF-16 unit), each followed by \'3f ("?") for readers that skip them.
QByteArray DocumentToRtf(const QTextDocument *doc);

// Replaces the content of `doc` with the RTF text `rtf`; false (and `doc` untouched) when `rtf` is not RTF, its
// groups do not balance or it is longer than RtfMaxSize. \'hh bytes are read in the code page of the font in
// force (its \fcharset or \cpg), else of the document's \ansicpg. Unknown control words and destinations are
// skipped; the undo history is cleared.
bool RtfToDocument(const QByteArray &rtf, QTextDocument *doc);
