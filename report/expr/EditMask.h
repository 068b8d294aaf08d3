#pragma once
// Text laid out by an edit mask, the masks of input fields: each position character (L l A a
// C c 0 9 #) takes the next character of the text, a literal is inserted as it stands ("\"
// makes the next character a literal; ":" and "/" are the time and date separators, "_" a
// blank), ">" and "<" turn what follows to upper or lower case ("<>" ends that), and a leading
// "!" aligns the text to the right. Positions the text does not reach get the blank character;
// characters beyond the mask's positions are kept. The text holds no literals of its own.
#include <QChar>
#include <QString>

// The mask up to its first ";" that is not escaped: the mask's own save and blank fields are
// cut off.
QString EditMaskPositions(const QString& editMask);
QString FormatMaskText(const QString& mask, const QString& text, QChar blank);
