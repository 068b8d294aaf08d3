#pragma once
// Writes a QTextDocument as RTF that ReadRtf (RtfReader.h) reads back to the same document:
// the text of every paragraph, the character formats (font, size, bold, italic, underline,
// strike-out, colour, background) and the paragraph formats (alignment, indents). Characters
// without a font or size of their own are written in the document's default font. Images
// are left out; everything else the document may hold beyond that subset is not kept.
//
// The result is ASCII, with \ansicpg1251: Cyrillic as \'xx, other characters as \uN?
// (RtfEscape.h).
#include <QByteArray>
#include <QTextDocument>

QByteArray WriteRtf(const QTextDocument& document);
