#include "tests/support/peak_memory.h"

#include <fstream>
#include <string>

namespace testing_support {
namespace {

double StatusMegabytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) / 1024.0;
  }
  return 0;
}

}  // namespace

double ResidentMegabytes() { return StatusMegabytes("VmRSS:"); }
double PeakResidentMegabytes() { return StatusMegabytes("VmHWM:"); }
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace testing_support
