// Gives each window test an empty settings store of its own.
#pragma once

#include <QSettings>
#include <QTemporaryDir>

namespace tabulon::testing {

class SettingsSandbox {
  public:
    SettingsSandbox() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

}  // namespace tabulon::testing
