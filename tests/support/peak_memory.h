#pragma once
// This process's resident memory from /proc/self/status, for tests and benchmarks that bound what
// a piece of work costs: the peak can be reset, so it measures one piece of work.

namespace testing_support {

// "VmRSS" (now) or "VmHWM" (the peak since the last reset), in MB.
double ResidentMegabytes();
double PeakResidentMegabytes();
// Starts a new peak from the memory resident now.
void ResetPeakResident();

}  // namespace testing_support
