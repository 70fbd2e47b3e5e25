#pragma once
// Czech literals in the tests: UTF-8, read as the program reads its own.

#include "ground/texts.h"

namespace zelvar::testing {

inline QString u(const char* utf8) {
    return text::q(utf8);
}

} // namespace zelvar::testing
