// The fixed-pitch font of the panes that show files and of the fields that line texts up.
#pragma once

#include <QFont>
#include <QString>

namespace tarnix {

// `preferred` where the system has it, else the system's own fixed-pitch face, else a monospace
// face Wine or a Linux desktop has: Wine has no "Courier New", and without a fallback its
// windows would show the panes in a serif face.
QFont FixedPitchFont(const QString& preferred = QString());

}  // namespace tarnix
