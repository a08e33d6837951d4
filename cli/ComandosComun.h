// What the command groups of the program share: the host they open on demand, the options every
// group declares the same way, and the names of boxes on the command line.
#pragma once

#include "Filas.h"
#include "Host.h"
#include "Salida.h"

#include <CLI/CLI.hpp>
#include <limits>
#include <memory>
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

// "P1-10" -> page index 0, box 10; false for anything else.
bool LeerCasilla(const std::string& texto, int& pagina, int& casilla);
CString NombreCasilla(int pagina, int casilla);
// The meaning of a box as the form's catalogue gives it; a page-2 box is the copy of the
// same box of page 1. "" for a box the catalogue lacks.
CString SignificadoCasilla(const CGuiaDoc& doc, int pagina, int casilla);

// ----- options declared once --------------------------------------------------------------------

// The declaration a command acts on: its first argument, required.
CLI::Option* OpcionCodigo(CLI::App* cmd, std::string& codigo,
                          const char* ayuda = "Código de la declaración");
// --json: the same rows as JSON.
void OpcionJson(CLI::App* cmd, bool& json, const char* ayuda = "Salida JSON");
// Makes `opcion` a number option: decimal digits only, from `minimo` to `maximo`, refused in
// Spanish otherwise. The parser alone would take "0x2" as 2, "010" as 8 and " 2" as 2.
CLI::Option* OpcionEntera(CLI::Option* opcion, int minimo,
                          int maximo = std::numeric_limits<int>::max());

// A month as given ("3" or "03" -> "03") and a year of four digits; "" for none given, refused
// (ErrorUsuario) for anything else.
CString LeerMes(const std::string& mes);
CString LeerAnio(const std::string& anio);
// Asks on the terminal (stderr) and reads the answer: `s` is yes; no answer or any other, no.
bool Confirmar(const CString& pregunta);

// The command groups.
void RegistrarDeclaraciones(CLI::App& app, Contexto& ctx);
void RegistrarDatos(CLI::App& app, Contexto& ctx);
// `db backup` and `db restore`, under the `db` command.
void RegistrarCopias(CLI::App& db, Contexto& ctx);
// `db copy`, under the `db` command.
void RegistrarCopiaBases(CLI::App& db, Contexto& ctx);
void RegistrarValidacion(CLI::App& app, Contexto& ctx);
void RegistrarPagina(CLI::App& app, Contexto& ctx);
void RegistrarIntervinientes(CLI::App& app, Contexto& ctx);
void RegistrarVentana(CLI::App& app, Contexto& ctx);
void RegistrarCodigos(CLI::App& app, Contexto& ctx);
void RegistrarVistas(CLI::App& app, Contexto& ctx);
void RegistrarImpresion(CLI::App& app, Contexto& ctx);
void RegistrarClientes(CLI::App& app, Contexto& ctx);
void RegistrarLote(CLI::App& app, Contexto& ctx);
