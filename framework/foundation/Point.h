#pragma once
// CDuiRect, CSize and CPoint share one header.
#include "foundation/Geometry.h"
