#pragma once
// Reads RTF, as the rich-text object stores it in templates, prepared pages and data fields,
// into a QTextDocument. RtfWriter.h writes it back; what one writes the other reads to the
// same document.
//
// What is carried:
//  - characters: the font table (\fonttbl, \f, \deff, \fcharset), sizes (\fs), the colour table
//    (\colortbl, \cf; \cb and \highlight as background), bold, italic, underline (\ul and its
//    variants, \ulnone), strike-out (\strike), \plain;
//  - paragraphs: \ql \qr \qc \qj, indents \li \ri \fi (twips, 15 to a pixel at 96 DPI), \pard,
//    \par (a last \par before the end adds no empty paragraph), \line (U+2028), \tab;
//    a table's \cell reads as a tab and \row as a paragraph end;
//  - text: \'xx in the code page of the current font (\fcharset 204 is page 1251, 0 is 1252)
//    or else of the document (\ansicpg: 1251, 866, anything else 1252), \uN with \ucN fallback
//    characters skipped, \~ \- \_, escaped \\ \{ \}, and the named typographic characters
//    (\emdash, \lquote, \bullet and the like).
// Passed over: \* destinations, \info, \stylesheet, pictures, objects, field instructions
// (a field's result is read), headers, footers, footnotes, list tables and \bin data.
//
// The input is untrusted. Refused, with EReadError and the document left as it was: input
// longer than kMaxRtfSize octets, and input that is not RTF (no "{\rtf" at its start, blanks
// aside). Recovered from: a document cut short (what was read is kept), braces that do not
// balance (reading stops where the outermost group closes, so octets after it are ignored;
// groups still open at the end are closed), groups nested deeper than
// kMaxRtfGroupDepth (the deeper ones share the state of the deepest kept group and end with
// it), huge numbers in control words (saturated, then clamped to what each word allows: sizes
// to 1..1638 points, indents to 22 inches, colour parts to 0..255, \uc to 16, \bin to the
// octets left), and \' without two hexadecimal digits (the \' is dropped, what follows read
// as text). Every
// octet adds at most one character or one paragraph, so memory and time follow the input; the
// worst input of the largest size (nothing but \par) costs the document about 100 MB.
//
// In a template or a prepared page the rich text is the octets up to the position its record
// stores (ReadFrBytes); a data field's blob is read whole. Whatever follows the document's
// last brace is not read.
#include <QByteArrayView>
#include <QTextDocument>

constexpr qsizetype kMaxRtfSize = 4 * 1024 * 1024;
constexpr int kMaxRtfGroupDepth = 256;

// Replaces the document's content by what the RTF describes; throws EReadError on refusal.
void ReadRtf(QByteArrayView rtf, QTextDocument& document);
// Whether the octets start as RTF ("{\rtf", blanks aside), as ReadRtf asks of its input.
bool IsRtf(QByteArrayView octets);
