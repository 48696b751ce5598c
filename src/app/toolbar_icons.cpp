#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <initializer_list>

// The images are linked in from a static library, whose resources register only when asked.
static void RegisterIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace qvr {
namespace {

// Rendered once per size a window may ask for (16-pixel glyphs at scale 1, 1.5, 2 and 3, the
// program icon for title bars, task switchers and docks), so that Qt never scales a bitmap up.
QIcon ScalableIcon(const QString& resource, std::initializer_list<int> sizes) {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  QSvgRenderer renderer(resource);
  QIcon icon;
  for (int size : sizes) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

const char* ResourceOf(ToolbarGlyph glyph) {
  switch (glyph) {
    case ToolbarGlyph::Update:
      return ":/icons/update.svg";
    case ToolbarGlyph::ReadConfig:
      return ":/icons/read-config.svg";
    case ToolbarGlyph::WriteConfig:
      return ":/icons/write-config.svg";
    case ToolbarGlyph::ReadDevice:
      return ":/icons/read-device.svg";
    case ToolbarGlyph::WriteDevice:
      return ":/icons/write-device.svg";
    case ToolbarGlyph::ToDefault:
      return ":/icons/to-default.svg";
    case ToolbarGlyph::Reset:
      return ":/icons/reset.svg";
  }
  return "";
}

}  // namespace

QIcon ToolbarIcon(ToolbarGlyph glyph) {
  return ScalableIcon(ResourceOf(glyph), {16, 24, 32, 48});
}

QIcon ProgramIcon() {
  return ScalableIcon(":/icons/qvr-service.svg", {16, 24, 32, 48, 64, 128, 256});
}

}  // namespace qvr
