#pragma once
// The pictures on the window's buttons, drawn in code so that they stay sharp at any screen scale.

#include <QIcon>

enum class TGlyph {
  New, Open, Save, SaveCel, Undo, Clear, Copy, Add, Delete, Insert,
  TurnOver, Mirror, MoveLeft, MoveRight, MoveUp, MoveDown,
  Next, Previous, First, Last, Animate, Exit,
  Draw, Fill, Capture, Exchange, CopyPrev, CopyNext,
};

// An icon of the glyph, logicalSize x logicalSize pixels, with a greyed variant for disabled
// buttons.
QIcon GlyphIcon(TGlyph glyph, int logicalSize);
