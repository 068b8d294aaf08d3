#pragma once
// The 16 x 16 pictures of the rich-text editor's tool bar buttons, drawn on the buttons'
// transparent colour (their bottom-left pixel).
#include <QImage>

enum class TRichGlyph { Open, Save, Undo, Font, Bold, Italic, Underline, AlignLeft, AlignCenter, AlignRight, Cancel, Ok };

QImage RichFormGlyph(TRichGlyph glyph);
