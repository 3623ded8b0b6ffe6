// Shows colours as (r,g,b) in test failures.
#pragma once

#include <ostream>

#include "menus/menu_colors.h"

inline void PrintTo(const CRgb& color, std::ostream* os) {
    *os << "(" << color.r << "," << color.g << "," << color.b << ")";
}
