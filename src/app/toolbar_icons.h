#pragma once
// The program's icons, drawn from scalable images so that they stay crisp at any scale factor:
// the seven toolbar glyphs and the program's own icon (window, desktop entry).
#include <QIcon>

namespace qvr {

enum class ToolbarGlyph {
  Update,
  ReadConfig,
  WriteConfig,
  ReadDevice,
  WriteDevice,
  ToDefault,
  Reset
};

QIcon ToolbarIcon(ToolbarGlyph glyph);
QIcon ProgramIcon();

}  // namespace qvr
