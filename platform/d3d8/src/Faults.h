#pragma once
// The platform's side of fault injection: each call that can be made to fail
// asks whether it should.

#include "d3d8/Headless.h"

namespace d3d8 {

// True when an injected fault of this kind is due now; counts the call.
bool FaultDue(Fault fault);

// Row padding of textures created now.
UINT TexturePitchPadding();

}  // namespace d3d8
