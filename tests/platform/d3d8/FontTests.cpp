// Text drawn by the D3DX font.
#include <gtest/gtest.h>

#include "TestDevice.h"
#include "d3d8/D3DXFont.h"
