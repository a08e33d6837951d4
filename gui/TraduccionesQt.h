// Qt's own texts (standard buttons, the file dialog, the calendar) in Spanish, and the Spanish
// locale for dates and numbers, as the rest of the program speaks.
#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

// Installs Qt's Spanish translation into the application and makes es_ES the default locale.
// The translation is looked for beside the program first (a copy that travels with it), then
// where Qt is installed; without one Qt's texts stay in English and `motivo` says why. The
// translation is removed again when the returned object is destroyed.
std::unique_ptr<QTranslator> InstalarCastellanoQt(QString* motivo = nullptr);
