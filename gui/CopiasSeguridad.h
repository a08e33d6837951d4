// The window's backups of the database: Archivo > Copia de seguridad… and Restaurar copia….
#pragma once

#ifndef Q_MOC_RUN
#include "Host.h"
#endif

#include <functional>

class QWidget;

// Asks for the file and writes the copy; what happened is said in a message.
void HacerCopiaSeguridad(QWidget* padre, CHost& host);
// Asks for the copy; a copy that is not an undamaged database of this program is refused before
// anything is asked. Then asks for confirmation, and `cerrarDeclaraciones` closes what the
// window shows of the database (false when the person kept something open, which ends it
// there). True when the database was replaced.
bool RestaurarCopiaSeguridad(QWidget* padre, CHost& host,
                             const std::function<bool()>& cerrarDeclaraciones);
