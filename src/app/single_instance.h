#pragma once
// One window per user and settings file: a second start brings the running window to the front
// and ends, so that two windows never poll one adapter or overwrite each other's settings.
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace qvr {

// The name the window listens under: the user's and the settings file's, so that a test or a
// second settings file keeps a window of its own.
QString InstanceName(const QString& settingsPath);

class SingleInstance : public QObject {
 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // True when a window runs under the name; it has been asked to come to the front.
  bool AskRunningWindow();
  // Takes the name (after a window that ended without giving it back) and calls `toFront`
  // on every later start. False when the name cannot be taken.
  bool Listen(std::function<void()> toFront);

 private:
  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace qvr
