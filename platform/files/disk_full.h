#pragma once
// One answer to "did the disk run out of room?" for every writer: a full file system and an
// exhausted quota are both a full disk to the learner, and reported as such.

#include <cerrno>

namespace platform {

inline bool IsDiskFullError(int error) { return error == ENOSPC || error == EDQUOT; }

}  // namespace platform
