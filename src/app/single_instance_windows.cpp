// The window's name on Windows: a named pipe whose access list (Qt's UserAccessOption) admits
// this user alone.
#include "app/instance_place.h"

namespace qvr {

QString InstancePlace(const QString& key) {
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
  if (user.isEmpty()) user = QStringLiteral("user");
  return QStringLiteral("qvr-service-") + user + "-" + key;
}

bool PeerIsThisUser(qintptr) {
  return true;  // the pipe's access list lets no other user connect
}

}  // namespace qvr
