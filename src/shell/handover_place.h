#pragma once

#include <QString>
#include <QtGlobal>

namespace tarn {

// Where the handover server of one user's running program lives, and who may use it.

// A folder that only this user can enter: the session's runtime folder when it is
// private, else one made for this user under the temporary folder (on Windows the user's
// local application data). Empty when none is safe (someone else owns it, or others may
// enter it): then there is no handover.
QString privateRuntimeFolder();

// The name a local server of that name listens on, for a folder given by the above:
// the socket file's path, or (on Windows) a pipe name made unguessable by a secret kept
// in that folder.
QString handoverServerName(const QString& folder, const QString& name);

// Whether the process at the other end of a connected local socket runs as this user.
// Where the system cannot tell, the server's own access rights have to do.
bool peerIsThisUser(qintptr socketDescriptor);

}  // namespace tarn
