#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include "app/instance_place.h"

namespace qvr {
namespace {

constexpr int kAnswerWaitMs = 1000;
constexpr char kToFront[] = "front\n";
constexpr qint64 kMessageLimit = 64;  // longer than any message; more is not one of ours

}  // namespace

QString SettingsKey(const QString& settingsPath) {
  const QString canonical = QFileInfo(settingsPath).absoluteFilePath();
  return QString::fromLatin1(
      QCryptographicHash::hash(QDir::cleanPath(canonical).toUtf8(), QCryptographicHash::Sha1)
          .toHex()
          .left(12));
}

QString InstanceName(const QString& settingsPath) {
  return InstancePlace(SettingsKey(settingsPath));
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

bool SingleInstance::AskRunningWindow() {
  if (name_.isEmpty()) return false;
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
  if (name_.isEmpty()) return false;
  toFront_ = std::move(toFront);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // Nobody answered under the name, in a place only this user reaches: what is left of it
    // belongs to a window of this user that ended without giving it back.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) Take(socket);
  });
  return true;
}

void SingleInstance::Take(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  // The name's place keeps other users out; should one reach it all the same, the window
  // still never does what they ask.
  if (!PeerIsThisUser(socket->socketDescriptor())) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
  Read(socket);
}

// Every connection is answered by closing it once its message has come, so that the asking
// program (and a test) knows the window has dealt with it.
void SingleInstance::Read(QLocalSocket* socket) {
  if (!socket->canReadLine() && socket->bytesAvailable() < kMessageLimit) return;
  if (socket->readLine(kMessageLimit) == kToFront) toFront_();
  socket->disconnectFromServer();
}

}  // namespace qvr
