#pragma once
// How a memo breaks its text into lines: at blanks, inside words too long for a line, or, with
// word break, after a syllable with a hyphen. Lines that end a paragraph carry kParagraphEnd at
// their end; lines cut inside a paragraph do not (justified text widens those).
#include <QList>
#include <QString>
#include <QStringView>
#include <QStringList>

#include "report/objects/TextMeasure.h"

constexpr QChar kParagraphEnd = QChar(1);

// Appends the lines of one text line, each at most availableWidth wide as measure counts it
// (a single character wider than that stands alone). A blank where a line is cut is dropped; a
// word longer than a line is cut before the character that overflows, or, with wordBreak,
// after its last syllable that still fits with a hyphen. Carriage returns and line feeds in
// the text end paragraphs.
void WrapLine(const QString& text, const TrpTextMeasure& measure, int availableWidth, bool wordBreak,
              QStringList& lines);

// The positions after which a hyphen may break the word (1-based, increasing), by the Russian
// syllable rules; none for words shorter than 4 characters. Letters count in either case.
QList<int> BreakWord(QStringView word);
