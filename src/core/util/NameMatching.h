// Comparing names: file names without regard to case, sheet names by shell patterns.
#pragma once

#include <string>

namespace tabulon {

// True when the name matches the pattern: "*" stands for any run of characters, "?" for any
// one character, and letters match whatever their case (ASCII, Latin-1, Greek and Cyrillic).
// As in the classic directory search, a pattern ending in ".*" also matches a name without a
// dot, so "*.*" matches every name. Names and patterns are UTF-8.
bool matchesWildcard(const std::string& name, const std::string& pattern);

// The name as code points with letters folded to one case: names that match without regard
// to case have equal folded forms, and ordering by it sorts names without regard to case.
std::u32string foldedName(const std::string& name);

// True when the name matches the shell pattern, character by character and with regard to
// case: "*" stands for any run of characters, "?" for any one, "[abc]", "[a-z]" for one of a
// set and "[!abc]" or "[^abc]" for one outside it; a backslash makes the next character stand
// for itself. Names and patterns are UTF-8.
bool matchesShellPattern(const std::string& name, const std::string& pattern);

}  // namespace tabulon
