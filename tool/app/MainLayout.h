// The main window's anchoring table: the controls of its template that LayoutAnchor moves with the
// arithmetic of LayoutCore. Control ids only, no window code: it builds natively as well.
#pragma once

#include "LayoutCore.h"

// 30 entries that move the right-hand column with the bottom-right corner.
constexpr unsigned kMainLayoutCount = 30;
LayoutEntry* MainLayoutTable();
