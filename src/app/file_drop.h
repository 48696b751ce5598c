#pragma once
// A configuration file dropped anywhere on the window (also on its text fields, which would
// otherwise take the file's name as text) is loaded as Open loads it.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace qvr {

// The local file of a drop when it is exactly one file matching `mask` ("*.MUX", any case);
// "" otherwise.
QString DroppedConfigFile(const QList<QUrl>& urls, const QString& mask);

class ConfigFileDrop : public QObject {
 public:
  // `mask` gives the active page's file mask ("" when the page takes no files); `load` runs on a
  // drop that matches it.
  ConfigFileDrop(QWidget* window, std::function<QString()> mask,
                 std::function<void(const QString&)> load);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<QString()> mask_;
  std::function<void(const QString&)> load_;
};

}  // namespace qvr
