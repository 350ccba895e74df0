// Settling what each token of a lexed section means, and the section's kind.
#pragma once

#include "core/numfmt/FormatLexer.h"

namespace tabulon::numfmt {

// Resolves commas, slashes, decimal points and month-or-minute, assigns digit roles and fills
// the section's layout facts. Returns false for a section that cannot be rendered.
bool layoutSection(LexedSection& lexed);

}  // namespace tabulon::numfmt
