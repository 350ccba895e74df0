// Tests of a section condition such as [>=100] or [<>0].
#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

bool Condition::holds(double v) const {
    switch (op) {
        case CompareOp::Less:
            return v < operand;
        case CompareOp::LessEqual:
            return v <= operand;
        case CompareOp::Greater:
            return v > operand;
        case CompareOp::GreaterEqual:
            return v >= operand;
        case CompareOp::Equal:
            return v == operand;
        case CompareOp::NotEqual:
            return v != operand;
        case CompareOp::None:
            break;
    }
    return true;
}

bool Condition::onlyNegatives() const {
    switch (op) {
        case CompareOp::Less:
            return operand <= 0;
        case CompareOp::LessEqual:
        case CompareOp::Equal:
            return operand < 0;
        default:
            return false;
    }
}

}  // namespace tabulon::numfmt
