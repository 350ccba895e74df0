// The per-user settings, kept by QSettings as an INI file.
#include "widgets/SettingsStore.h"

#include <QSettings>

namespace tabulon {
namespace {

constexpr const char* kOrganisation = "Quillmark";
constexpr const char* kSection = "Tabulon";

QString qualified(const std::string& key) {
    return QString::fromUtf8(kSection) + '/' + QString::fromStdString(key);
}

QSettings openStore() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kSection);
}

}  // namespace

std::string SettingsStore::get(const std::string& key, const std::string& defaultValue) const {
    const QSettings settings = openStore();
    const QVariant value = settings.value(qualified(key));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

void SettingsStore::save(const std::string& key, const std::string& value) {
    QSettings settings = openStore();
    settings.setValue(qualified(key), QString::fromStdString(value));
}

}  // namespace tabulon
