// The window's name on Linux: a socket in a folder only this user can enter. A fixed name in
// the shared temporary folder could be taken first by anyone, who would then keep every
// window of this user (and root's) from opening and hear what they send.
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "app/instance_place.h"

namespace qvr {
namespace {

constexpr mode_t kPrivateMode = 0700;

// The user's own folder, not a link, that nobody else may enter.
bool PrivateFolder(const QByteArray& path) {
  struct stat info {};
  return !path.isEmpty() && ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & 07777) == kPrivateMode;
}

// $XDG_RUNTIME_DIR where it is the user's (root started with another user's environment has
// theirs), else a folder of the user's own in the temporary folder, named for the user's id.
QString PrivateRuntimeFolder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (runtime.startsWith('/') && PrivateFolder(runtime)) return QString::fromLocal8Bit(runtime);
  const QString own = QDir::tempPath() + "/qvr-service-" + QString::number(::geteuid());
  const QByteArray ownPath = QFile::encodeName(own);
  (void)::mkdir(ownPath.constData(), kPrivateMode);  // one made before is checked alike
  return PrivateFolder(ownPath) ? own : QString();
}

}  // namespace

QString InstancePlace(const QString& key) {
  const QString folder = PrivateRuntimeFolder();
  return folder.isEmpty() ? QString() : folder + "/qvr-service-" + key;
}

bool PeerIsThisUser(qintptr socketDescriptor) {
  struct ucred peer {};
  socklen_t size = sizeof peer;
  return ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::geteuid();
}

}  // namespace qvr
