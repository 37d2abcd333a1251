#pragma once
// Who the learner is on this machine, as the card game shows it and the score board posts it:
// the login name of the user running the program, from the system's user database (not the
// environment, which any launcher can change or leave out), "@", and the machine's host name.

#include <QString>

namespace platform {

// "name@host"; empty when the user database has no entry for the running user. A machine
// without a host name counts as "localhost".
QString UserIdentity();

}  // namespace platform
