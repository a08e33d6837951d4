#include "Modelo/store/DialectoSql.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace {

bool EsLetra(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

bool EsCifra(char c) {
    return c >= '0' && c <= '9';
}

bool Igual(std::string_view palabra, std::string_view mayusculas) {
    if (palabra.size() != mayusculas.size())
        return false;
    for (size_t i = 0; i < palabra.size(); ++i) {
        const char c =
            palabra[i] >= 'a' && palabra[i] <= 'z' ? char(palabra[i] - 'a' + 'A') : palabra[i];
        if (c != mayusculas[i])
            return false;
    }
    return true;
}

// Where the quoted text, comment or literal that starts at s[i] ends (one past it).
size_t FinDeTrozo(std::string_view s, size_t i) {
    const char c = s[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
        const char cierre = c == '[' ? ']' : c;
        size_t j = i + 1;
        while (j < s.size()) {
            if (s[j] == cierre) {
                // A doubled quote stands for one inside the text.
                if (cierre != ']' && j + 1 < s.size() && s[j + 1] == cierre) {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return s.size();
    }
    if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
        const size_t fin = s.find('\n', i);
        return fin == std::string_view::npos ? s.size() : fin + 1;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
        const size_t fin = s.find("*/", i + 2);
        return fin == std::string_view::npos ? s.size() : fin + 2;
    }
    return i;
}

bool Blanco(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const size_t fin = FinDeTrozo(s, i);
        if (fin > i && (s[i] == '-' || s[i] == '/')) {
            i = fin;
            continue;
        }
        if (!std::isspace(static_cast<unsigned char>(s[i])))
            return false;
        ++i;
    }
    return true;
}

// Where the word after the blanks that follow s[j] ends, and that word.
size_t FinDeLaSiguiente(std::string_view s, size_t j) {
    while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
        ++j;
    while (j < s.size() && EsLetra(s[j]))
        ++j;
    return j;
}

std::string_view Siguiente(std::string_view s, size_t j) {
    size_t k = j;
    while (k < s.size() && std::isspace(static_cast<unsigned char>(s[k])))
        ++k;
    return s.substr(k, FinDeLaSiguiente(s, j) - k);
}

// The table and the list of columns of "INSERT OR REPLACE INTO table (columns)"; false when
// the statement does not start so.
bool TablaYColumnas(std::string_view s, std::string& tabla, std::string& columnas) {
    size_t j = 0;
    // Comments may come first, as at the head of a file.
    for (;;) {
        while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
            ++j;
        const size_t fin = j < s.size() ? FinDeTrozo(s, j) : j;
        if (fin == j || (s[j] != '-' && s[j] != '/'))
            break;
        j = fin;
    }
    for (const char* palabra : {"INSERT", "OR", "REPLACE", "INTO"}) {
        if (!Igual(Siguiente(s, j), palabra))
            return false;
        j = FinDeLaSiguiente(s, j);
    }
    while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
        ++j;
    const size_t inicio = j;
    while (j < s.size() && (EsLetra(s[j]) || EsCifra(s[j])))
        ++j;
    tabla = std::string(s.substr(inicio, j - inicio));
    while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
        ++j;
    const size_t cierre = s.find(')', j);
    if (tabla.empty() || j >= s.size() || s[j] != '(' || cierre == std::string_view::npos)
        return false;
    columnas = std::string(s.substr(j + 1, cierre - j - 1));
    for (char& c : tabla)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return true;
}

// A quoted name as the server must see it: SQLite finds names without regard to case, the
// server folds a bare name to lower case and keeps a quoted one as written.
std::string NombreCitado(std::string_view dentro) {
    std::string r = "\"";
    for (char c : dentro) {
        if (c == '"')
            r += "\"\"";
        else
            r += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return r + "\"";
}

} // namespace

std::vector<CString> PartirScript(const CString& sql) {
    const std::string_view s = sql.view();
    std::vector<CString> sentencias;
    size_t desde = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t fin = FinDeTrozo(s, i);
        if (fin > i) {
            i = fin;
            continue;
        }
        if (s[i] == ';') {
            if (!Blanco(s.substr(desde, i - desde)))
                sentencias.emplace_back(std::string(s.substr(desde, i - desde)));
            desde = i + 1;
        }
        ++i;
    }
    if (!Blanco(s.substr(desde)))
        sentencias.emplace_back(std::string(s.substr(desde)));
    return sentencias;
}

SentenciaPostgres TraducirParaPostgres(const CString& sql) {
    const std::string_view s = sql.view();
    SentenciaPostgres out;
    std::string r;
    r.reserve(s.size() + 16);
    bool ignorarConflictos = false; // INSERT OR IGNORE: the clause goes at the end
    std::string_view anterior;      // the last word, to read two-word phrases
    int ultimo = 0;                 // the highest parameter number given so far
    bool reemplazar = false;        // INSERT OR REPLACE: so is the clause
    for (size_t i = 0; i < s.size();) {
        const char c = s[i];
        const size_t fin = FinDeTrozo(s, i);
        if (fin > i) {
            if (c == '"' || c == '`' || c == '[') {
                const size_t largo = fin - i >= 2 ? fin - i - 2 : 0;
                r += NombreCitado(s.substr(i + 1, largo));
            } else {
                r.append(s, i, fin - i);
            }
            i = fin;
            continue;
        }
        if (c == '?') {
            // ?NNN names its place; a bare ? takes the one after the highest named so far.
            size_t j = i + 1;
            int numero = 0;
            while (j < s.size() && EsCifra(s[j]) && numero < 100000)
                numero = numero * 10 + (s[j++] - '0');
            if (j == i + 1)
                numero = ++ultimo;
            ultimo = std::max(ultimo, numero);
            out.parametros = std::max(out.parametros, numero);
            r += '$' + std::to_string(numero);
            i = j;
            continue;
        }
        if (!EsLetra(c)) {
            // A number glued to letters (1e5, x1) is copied whole with them.
            size_t j = i + 1;
            if (EsCifra(c))
                while (j < s.size() && (EsLetra(s[j]) || EsCifra(s[j]) || s[j] == '.'))
                    ++j;
            r.append(s, i, j - i);
            i = j;
            continue;
        }
        size_t j = i;
        while (j < s.size() && (EsLetra(s[j]) || EsCifra(s[j]) || s[j] == '$'))
            ++j;
        const std::string_view w = s.substr(i, j - i);
        if (Igual(w, "IFNULL"))
            r += "coalesce";
        else if (Igual(w, "REAL"))
            r += "DOUBLE PRECISION";
        else if (Igual(w, "INTEGER"))
            r += "BIGINT";
        else if (Igual(w, "LIKE"))
            r += "ILIKE";
        else if (Igual(w, "WITHOUT")) {
            // WITHOUT ROWID is how a table is stored by SQLite, nothing the server knows.
            const size_t m = FinDeLaSiguiente(s, j);
            if (Igual(Siguiente(s, j), "ROWID"))
                j = m;
            else
                r.append(w);
        } else if (Igual(w, "OR") && Igual(anterior, "INSERT")) {
            const std::string_view siguiente = Siguiente(s, j);
            const size_t m = FinDeLaSiguiente(s, j);
            if (Igual(siguiente, "IGNORE")) {
                ignorarConflictos = true;
                j = m;
            } else if (Igual(siguiente, "REPLACE")) {
                reemplazar = true;
                j = m;
            } else {
                r.append(w);
            }
        } else
            r.append(w);
        anterior = w;
        i = j;
    }
    if (reemplazar) {
        // A row whose key is already there is overwritten: on the server, an update of the
        // columns given when the table's key (its constraint TABLE_pkey) is met.
        std::string tabla, columnas, asignaciones;
        if (TablaYColumnas(s, tabla, columnas)) {
            size_t desde = 0;
            while (desde <= columnas.size()) {
                size_t coma = columnas.find(',', desde);
                if (coma == std::string::npos)
                    coma = columnas.size();
                std::string col = columnas.substr(desde, coma - desde);
                col.erase(0, col.find_first_not_of(" \t\r\n"));
                col.erase(col.find_last_not_of(" \t\r\n") + 1);
                if (!col.empty())
                    asignaciones += (asignaciones.empty() ? "" : ", ") + col + " = EXCLUDED." + col;
                desde = coma + 1;
            }
            while (!r.empty() &&
                   (std::isspace(static_cast<unsigned char>(r.back())) || r.back() == ';'))
                r.pop_back();
            r += " ON CONFLICT ON CONSTRAINT " + tabla + "_pkey DO UPDATE SET " + asignaciones;
        }
    }
    if (ignorarConflictos) {
        while (!r.empty() &&
               (std::isspace(static_cast<unsigned char>(r.back())) || r.back() == ';'))
            r.pop_back();
        r += " ON CONFLICT DO NOTHING";
    }
    out.texto = CString(std::move(r));
    return out;
}
