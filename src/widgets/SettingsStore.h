// The per-user settings that survive between runs: save option, output folder, extension.
#pragma once

#include <string>

namespace tabulon {

inline constexpr const char* kKeyDirections = "Directions";
inline constexpr const char* kKeyOutputFolder = "Output Folder";
inline constexpr const char* kKeyExtension = "Extension";

// Values live in the user's configuration folder, organisation "Quillmark", section "Tabulon".
class SettingsStore {
  public:
    // The stored text, or defaultValue when the key was never written. Never creates an entry.
    std::string get(const std::string& key, const std::string& defaultValue) const;
    void save(const std::string& key, const std::string& value);
};

}  // namespace tabulon
