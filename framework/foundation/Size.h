#pragma once
// CRect, CSize and CPoint share one header.
#include "foundation/Geometry.h"
