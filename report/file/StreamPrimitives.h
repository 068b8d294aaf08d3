#pragma once
// How every binary stream of the report engine (templates, the dictionary, prepared reports,
// object records) stores its strings, string lists and small numbers. Numbers are
// little-endian; texts are code page 1251 octets.
//
// Every reader checks what it reads: a stream that ends early, or a length that runs past the
// end, raises EReadError and never reads outside the data. Writers refuse a text, a line or a
// list longer than the 16-bit length or count field allows (EWriteError) before writing any
// of it, so the stream stays readable.
#include <cstdint>

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

constexpr int kMaxFrLength = 65535;   // the largest length or count a 16-bit field holds
constexpr char kFrLineSeparator = 13;   // after each line of a list but the last
constexpr char kFrEndOfList = 0;

// The layout version of a template (or object stream): strings and string lists of versions up
// to 22 have the older zero-terminated forms.
constexpr int kCurrentTemplateVersion = 25;
constexpr int kFirstCountedStringVersion = 23;

// Current layout: u16 length, the octets, one 0 octet.
void WriteFrString(QIODevice& stream, const QString& text);
// Reads the u16 length, the octets and one more octet (the 0), which is skipped as it is.
QString ReadFrString(QIODevice& stream);

// Current layout: u16 count; each line as u16 length and octets; octet 13 after every line but
// the last; octet 0 at the end. An empty list is 0, 0, 0.
void WriteFrMemo(QIODevice& stream, const QStringList& lines);
// Clears the list. The count is only tested for zero: lines are read until a 0 separator.
void ReadFrMemo(QIODevice& stream, QStringList& lines);

// Older layouts of templates up to version 22 (read only): octets ended by 0; a list's lines
// end with 13 and the list with 0 (a line in progress at the 0 is kept only when not empty).
QString ReadFrString22(QIODevice& stream);
void ReadFrMemo22(QIODevice& stream, QStringList& lines);

// The form that the version of the stream being read (the run context's TemplateVersion) calls
// for.
QString ReadFrStringVer(QIODevice& stream, int templateVersion);
void ReadFrMemoVer(QIODevice& stream, QStringList& lines, int templateVersion);

uint16_t ReadFrWord(QIODevice& stream);
void WriteFrWord(QIODevice& stream, int value);   // the low 16 bits
int32_t ReadFrInt(QIODevice& stream);
void WriteFrInt(QIODevice& stream, int32_t value);
uint8_t ReadFrByte(QIODevice& stream);
void WriteFrByte(QIODevice& stream, uint8_t value);

// Exactly count octets, or EReadError.
QByteArray ReadFrBytes(QIODevice& stream, qint64 count);
// All the octets, or EWriteError.
void WriteFrBytes(QIODevice& stream, const QByteArray& octets);
void WriteFrBytes(QIODevice& stream, const char* octets, qint64 count);

// Font style as the engine's records store it (bit 0 italic, bit 1 bold, bit 2 underline,
// bit 3 strike-out) and as the rest of the program keeps it (bold first, italic second).
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
TFontStyles FontStyleFromFr(int stored);
int FontStyleToFr(TFontStyles styles);
