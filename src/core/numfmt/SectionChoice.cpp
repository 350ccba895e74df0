// Section choice by sign or by condition, and the rules for the automatic minus sign.
#include "core/numfmt/SectionChoice.h"

namespace tabulon::numfmt {

namespace {

SectionChoice bySign(const CompiledCode& code, double value) {
    SectionChoice choice;
    const auto& sections = code.sections;
    if (value > 0 || code.numericCount == 1 || (value == 0 && code.numericCount < 3)) {
        choice.section = &sections[0];
        choice.minus = value < 0;
        // A code of one section drops the sign of a number that rounds to zero.
        choice.dropZeroMinus = sections.size() == 1;
    } else {
        choice.section = &sections[value < 0 ? 1 : 2];  // the negative section shows |v|
    }
    return choice;
}

// Sections 1 and 2 are tested in turn; section 1 without a condition means [>0] and, in a
// code of three or more sections, section 2 without one means [<0]. A code of two sections
// takes an unconditioned second section as the "otherwise" case.
SectionChoice byCondition(const CompiledCode& code, double value) {
    SectionChoice choice;
    const auto& sections = code.sections;
    const int n = code.numericCount;
    const Condition first = sections[0].condition.present()
                                ? sections[0].condition
                                : Condition{n > 1 ? CompareOp::Greater : CompareOp::None, 0.0};
    if (first.holds(value)) {
        choice.section = &sections[0];
        // A one-section code always shows the sign: [<-10]0 at -11 is "-11".
        choice.minus = value < 0 && (n == 1 || !first.onlyNegatives());
        return choice;
    }
    if (n >= 2) {
        const Condition& own = sections[1].condition;
        if (own.present() || n >= 3) {
            const Condition second = own.present() ? own : Condition{CompareOp::Less, 0.0};
            if (second.holds(value)) {
                choice.section = &sections[1];
                choice.minus = value < 0 && !second.onlyNegatives();
                return choice;
            }
        } else {
            choice.section = &sections[1];
            const bool firstExcludesNegatives =
                first.op == CompareOp::Equal ||
                ((first.op == CompareOp::Greater || first.op == CompareOp::GreaterEqual) &&
                 first.operand >= 0);
            choice.minus = value < 0 && firstExcludesNegatives;
            return choice;
        }
    }
    if (n >= 3) {
        choice.section = &sections[2];
        choice.minus = value < 0;
    } else if (n == 1) {
        choice.minus = value < 0;  // General shows the signed value
    } else {
        choice.overflow = true;
    }
    return choice;
}

}  // namespace

SectionChoice chooseSection(const CompiledCode& code, double value) {
    if (!code.valid || code.numericCount == 0) {
        SectionChoice general;
        general.minus = value < 0;
        return general;
    }
    return code.conditional ? byCondition(code, value) : bySign(code, value);
}

}  // namespace tabulon::numfmt
