// The workbench's own per-user settings (window places, the folders of the file dialogs, the
// recent projects): the toolkit's per-user store, never "Ordo.ini", which the engine programs
// read too.
#pragma once

#include <QSettings>

namespace tarnix {

inline QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarnix"), QStringLiteral("Tarnix"));
}

}  // namespace tarnix
