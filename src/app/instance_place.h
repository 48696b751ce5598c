#pragma once
// What the window's single instance needs of the platform.
#include <QString>
#include <QtGlobal>

namespace qvr {

// The part of the window's name that stands for the settings file (a digest of its path).
QString SettingsKey(const QString& settingsPath);
// The name to listen under for `key`, where only this user can reach it; empty when there is
// no such place.
QString InstancePlace(const QString& key);
// Whether the program at the other end of the connected socket runs as this user.
bool PeerIsThisUser(qintptr socketDescriptor);

}  // namespace qvr
