#pragma once
// The program's version: major.minor, and the revision that the about box appends to its title.

inline constexpr int kProgramVersionMajor = 2;
inline constexpr int kProgramVersionMinor = 0;
inline constexpr int kProgramRevision = 13;
