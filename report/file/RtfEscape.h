#pragma once
// Plain text as RTF characters, the one routine that the RTF writer and the RTF export share.
// The result is ASCII and assumes a document that declares \ansicpg1251 and leaves \uc at 1:
//  - \ { } are escaped;
//  - a tab becomes \tab; a line end (CR LF, CR, LF or U+2028) becomes \line; U+2029 \par;
//  - a character outside ASCII becomes \'xx when code page 1251 has it, else \uN? (N the
//    signed 16-bit UTF-16 unit, so a character beyond U+FFFF takes two, '?' the fallback);
//  - other control characters become \'xx.
// Every control word is closed by a blank, so any text may follow.
#include <QByteArray>
#include <QStringView>

QByteArray EscapeRtf(QStringView text);
// The same, appended to an RTF text that is being built.
void AppendEscapedRtf(QByteArray& rtf, QStringView text);
