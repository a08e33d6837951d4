// Backups of the database, as both faces offer them.
#pragma once

#include "Host.h"

#include <functional>

namespace copias {

// Writes a copy of the host's database to `destino`, as it stands at one moment while other
// programs go on writing; refused (ErrorUsuario) when `destino` is the database itself or one
// of the files the engine keeps beside it, or is not a file.
void Copiar(CHost& host, const CString& destino);

// Checks that `origen` is an undamaged database of this program, refused (ErrorUsuario, nothing
// changed) otherwise; then, when `confirmar` says yes, replaces the whole database with it.
// False when the person said no.
bool Restaurar(CHost& host, const CString& origen, const std::function<bool()>& confirmar);

} // namespace copias
