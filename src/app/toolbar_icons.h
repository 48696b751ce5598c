#pragma once
// The 16 x 16 glyphs of the seven toolbar commands, drawn at start-up.
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

}  // namespace qvr
