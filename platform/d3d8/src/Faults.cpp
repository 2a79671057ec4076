#include "Faults.h"

#include <array>

namespace d3d8 {
namespace {

struct FaultPlan {
  int skip = 0;   // calls still to succeed first
  int count = 0;  // calls to fail after them; kEveryCall: all
};

constexpr size_t kFaultKinds = static_cast<size_t>(Fault::PresentDeviceLost) + 1;

std::array<FaultPlan, kFaultKinds>& Plans() {
  static std::array<FaultPlan, kFaultKinds> plans;
  return plans;
}

UINT& PitchPadding() {
  static UINT padding = 0;
  return padding;
}

}  // namespace

void InjectFault(Fault fault, int count, int skip) {
  Plans()[static_cast<size_t>(fault)] = FaultPlan{skip < 0 ? 0 : skip, count};
}

void ClearFault(Fault fault) { Plans()[static_cast<size_t>(fault)] = FaultPlan{}; }

void ClearAllFaults() { Plans().fill(FaultPlan{}); }

ScopedFault::ScopedFault(Fault fault, int count, int skip) : fault_(fault) {
  InjectFault(fault, count, skip);
}

ScopedFault::~ScopedFault() { ClearFault(fault_); }

bool FaultDue(Fault fault) {
  FaultPlan& plan = Plans()[static_cast<size_t>(fault)];
  if (plan.count == 0) return false;
  if (plan.skip > 0) {
    --plan.skip;
    return false;
  }
  if (plan.count > 0) --plan.count;
  return true;
}

void SetTexturePitchPadding(UINT bytes) { PitchPadding() = bytes; }

UINT TexturePitchPadding() { return PitchPadding(); }

}  // namespace d3d8
