// Package relationships (.rels parts): which part plays which role, and where it lies.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::package {

struct Relationship {
    std::string id;
    std::string type;
    std::string target;  // resolved to a part name inside the package
};

// The relationships of a part ("" for the package itself); empty when it has no .rels part.
// External targets are left out.
std::vector<Relationship> readRelationships(ZipArchive& archive, std::string_view sourcePart);

// True when the relationship's type ends in "/" + role ("worksheet", "officeDocument", ...);
// this accepts the transitional and the strict namespaces alike.
bool hasRole(const Relationship& relationship, std::string_view role);

// The first relationship with the role, or nullptr.
const Relationship* findByRole(const std::vector<Relationship>& relationships,
                               std::string_view role);

// The package part name that a relative or absolute target names, seen from the source part.
std::string resolveTarget(std::string_view sourcePart, std::string_view target);

}  // namespace tabulon::workbook::package
