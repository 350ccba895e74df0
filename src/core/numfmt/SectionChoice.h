// Which section of a code renders a number, and whether a minus sign goes in front.
#pragma once

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

struct SectionChoice {
    const Section* section = nullptr;  // nullptr: render General
    bool minus = false;                // prefix '-' to the whole text
    bool dropZeroMinus = false;        // ...unless no non-zero digit ends up shown
    bool overflow = false;             // no section applies: the cell fills with '#'
};

SectionChoice chooseSection(const CompiledCode& code, double value);

}  // namespace tabulon::numfmt
