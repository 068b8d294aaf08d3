#pragma once
// The small pictures of the preview's buttons, drawn in code: 16 x 16 on a key colour that the
// buttons take as transparent (their bottom-left pixel).
#include <QImage>

enum class TPreviewGlyph { Zoom, Open, Save, Print, PageSetup, Find, Help, Exit, PageUp, PageDown };

QImage PreviewGlyph(TPreviewGlyph glyph);
