// Reading a data file from disk.
#pragma once

#include "Modelo/base/CString.h"

#include <string>
#include <string_view>

// The whole file, or false when it cannot be opened as a file or read. The bytes after the
// first NUL are dropped.
bool LeerFichero(const CString& ruta, std::string& contenido);
// Whether the whole file can be read, without keeping it.
bool FicheroLegible(const CString& ruta);

// Data files come in Latin-1, one byte a column, or in UTF-8, one character a column (a file
// typed in a present-day editor). A file is read as UTF-8 when it starts with a byte-order mark,
// or when it is valid UTF-8 and holds at least one character beyond ASCII; the mark is taken
// off the text. A Latin-1 file with accented letters is almost never valid UTF-8.
enum class Codificacion { Latin1, Utf8 };
Codificacion DetectarCodificacion(std::string_view& texto);
// The byte at which character `columna` (from 0) of a UTF-8 line starts; the line's length when
// it has fewer characters. A byte that starts no valid sequence counts as one character.
size_t ByteDeColumna(std::string_view linea, size_t columna);
// Whether the line holds a byte beyond ASCII.
bool TieneNoAscii(std::string_view linea);
