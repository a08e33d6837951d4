// What the command groups of the program share: the host they open on demand, and the way
// they print.
#pragma once

#include "Host.h"

#include <CLI/CLI.hpp>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

struct Contexto {
    std::optional<std::string> db, plugins; // as given; unset means the default
    int estado = 0;                         // the exit status the command sets

    CString RutaBD() const;
    // The host, opened on first use (so that --help needs no database).
    CHost& Host();

private:
    std::unique_ptr<CHost> host_;
};

inline constexpr int kHecho = 0;
inline constexpr int kHallazgos = 1;
inline constexpr int kRechazado = 2;

void Imprimir(const CString& linea);
// Box values are bytes; a value that is not UTF-8 is shown with replacement characters rather
// than making the whole output fail.
std::string Json(const nlohmann::json& j);
// Objects whose keys keep the order they were added in (boxes by page and box number).
std::string Json(const nlohmann::ordered_json& j);

// "P1-10" -> page index 0, box 10; false for anything else.
bool LeerCasilla(const std::string& texto, int& pagina, int& casilla);
CString NombreCasilla(int pagina, int casilla);
// The meaning of a box as the form's catalogue gives it; a page-2 box is the copy of the
// same box of page 1. "" for a box the catalogue lacks.
CString SignificadoCasilla(const CGuiaDoc& doc, int pagina, int casilla);

// Makes `opcion` a number option: decimal digits only, from `minimo` to `maximo`, refused in
// Spanish otherwise. The parser alone would take "0x2" as 2, "010" as 8 and " 2" as 2.
CLI::Option* OpcionEntera(CLI::Option* opcion, int minimo,
                          int maximo = std::numeric_limits<int>::max());

// The command groups.
void RegistrarDeclaraciones(CLI::App& app, Contexto& ctx);
void RegistrarDatos(CLI::App& app, Contexto& ctx);
void RegistrarValidacion(CLI::App& app, Contexto& ctx);
void RegistrarPagina(CLI::App& app, Contexto& ctx);
void RegistrarMantenimientoIntervinientes(CLI::App& app, Contexto& ctx);
void RegistrarVentana(CLI::App& app, Contexto& ctx);
void RegistrarCodigos(CLI::App& app, Contexto& ctx);
void RegistrarVistas(CLI::App& app, Contexto& ctx);
void RegistrarImpresion(CLI::App& app, Contexto& ctx);
