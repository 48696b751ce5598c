#pragma once
// One window per user and settings file: a second start brings the running window to the front
// and ends, so that two windows never poll one adapter or overwrite each other's settings.
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace qvr {

// The name the window listens under: the settings file's, in a place only this user reaches
// (Linux: a socket in $XDG_RUNTIME_DIR or in the user's own 0700 folder), so that another user
// can neither take the name first nor reach the window. Empty when no such place can be had:
// the window then runs on its own.
QString InstanceName(const QString& settingsPath);

class SingleInstance : public QObject {
 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // True when a window runs under the name; it has been asked to come to the front.
  bool AskRunningWindow();
  // Takes the name (after a window that ended without giving it back) and calls `toFront`
  // for every later start of this user; another user's program is never listened to. False
  // when the name cannot be taken.
  bool Listen(std::function<void()> toFront);

 private:
  void Take(QLocalSocket* socket);
  void Read(QLocalSocket* socket);

  QString name_;
  QLocalServer* server_ = nullptr;
  std::function<void()> toFront_;
};

}  // namespace qvr
