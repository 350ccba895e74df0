// Compiling a format code into its sections.
#pragma once

#include <string_view>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Never fails: a code that cannot be read yields an invalid CompiledCode (rendered as General).
CompiledCode compileCode(std::string_view code);

}  // namespace tabulon::numfmt
