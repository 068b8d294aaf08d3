#pragma once
// The 16 x 16 pictures of the rich-text editor's own tool bar buttons, drawn on the buttons'
// transparent colour (their bottom-left pixel); open, save, help and cancel take the preview's.
#include <QImage>

enum class TRichGlyph { Undo, Font, Bold, Italic, Underline, AlignLeft, AlignCenter, AlignRight, Bullets, Expression, Ok };

QImage RichFormGlyph(TRichGlyph glyph);
