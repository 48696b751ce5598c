#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace qvr {
namespace {

constexpr int kAnswerWaitMs = 1000;
constexpr char kToFront[] = "front\n";

QString UserName() {
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
  return user.isEmpty() ? QStringLiteral("user") : user;
}

}  // namespace

QString InstanceName(const QString& settingsPath) {
  const QString canonical = QFileInfo(settingsPath).absoluteFilePath();
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(canonical).toUtf8(), QCryptographicHash::Sha1)
          .toHex()
          .left(12);
  return QStringLiteral("qvr-service-") + UserName() + "-" + QString::fromLatin1(hash);
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

bool SingleInstance::AskRunningWindow() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerWaitMs)) return false;
  socket.write(kToFront);
  socket.flush();
  socket.waitForBytesWritten(kAnswerWaitMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen(std::function<void()> toFront) {
  server_ = new QLocalServer(this);
  // Only this user's programs may reach the window.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // Nobody answered under the name: what is left of it belongs to a window that ended
    // without giving it back.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, [this, toFront = std::move(toFront)] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      toFront();
    }
  });
  return true;
}

}  // namespace qvr
