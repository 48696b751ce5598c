#include "app/file_drop.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

namespace qvr {

QString DroppedConfigFile(const QList<QUrl>& urls, const QString& mask) {
  if (mask.isEmpty() || urls.size() != 1 || !urls.front().isLocalFile()) return QString();
  const QString path = urls.front().toLocalFile();
  const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(mask),
                                   QRegularExpression::CaseInsensitiveOption);
  const QString name = path.section(QLatin1Char('/'), -1);
  return pattern.match(name).hasMatch() ? path : QString();
}

ConfigFileDrop::ConfigFileDrop(QWidget* window, std::function<QString()> mask,
                               std::function<void(const QString&)> load)
    : QObject(window), window_(window), mask_(std::move(mask)), load_(std::move(load)) {
  window_->setAcceptDrops(true);
  qApp->installEventFilter(this);
}

bool ConfigFileDrop::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = drop->mimeData()->hasUrls()
                           ? DroppedConfigFile(drop->mimeData()->urls(), mask_())
                           : QString();
  if (path.isEmpty()) return false;
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) load_(path);
  return true;
}

}  // namespace qvr
