#include "Modelo/store/DialectoSql.h"

#include "Modelo/base/Funciones.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool EsLetra(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

// "03-01-23" -> "2023-03-01"; false when the text is not such a date.
bool FechaIso(const std::string& t, std::string& iso) {
    int partes[3] = {0, 0, 0}, cifras[3] = {0, 0, 0}, k = 0;
    for (char c : t) {
        if (texto::EsDigito(c)) {
            partes[k] = partes[k] * 10 + (c - '0');
            if (++cifras[k] > 4)
                return false;
        } else if ((c == '-' || c == '/') && k < 2) {
            ++k;
        } else {
            return false;
        }
    }
    if (k != 2 || cifras[0] == 0 || cifras[0] > 2 || cifras[1] == 0 || cifras[1] > 2 ||
        (cifras[2] != 2 && cifras[2] != 4))
        return false;
    const int anio = cifras[2] == 2 ? AnioDeDosCifras(partes[2]) : partes[2];
    if (!COleDateTime::IsValidDate(anio, partes[0], partes[1]))
        return false;
    // Written digit by digit: a quota query carries a date, and an import runs one per document.
    const int numeros[] = {anio / 100, anio % 100, partes[0], partes[1]};
    iso.clear();
    for (int k = 0; k < 4; ++k) {
        if (k >= 2)
            iso += '-';
        iso += char('0' + numeros[k] / 10);
        iso += char('0' + numeros[k] % 10);
    }
    return true;
}

// Keywords that open or close a list of column positions. Words are compared without
// copying: the translation runs once per query, and an import runs one query per document.
enum class Clave { Otra, Order, Group, By, Fin };

Clave Palabra(std::string_view w) {
    // Most words of a statement are names: the length and the first letter rule them out
    // before any comparison.
    if (w.size() < 2 || w.size() > 6)
        return Clave::Otra;
    char mayus[6];
    for (size_t i = 0; i < w.size(); ++i)
        mayus[i] = w[i] >= 'a' && w[i] <= 'z' ? char(w[i] - 'a' + 'A') : w[i];
    const std::string_view m(mayus, w.size());
    switch (mayus[0]) {
    case 'B':
        return m == "BY" ? Clave::By : Clave::Otra;
    case 'O':
        return m == "ORDER" ? Clave::Order : m == "OFFSET" ? Clave::Fin : Clave::Otra;
    case 'G':
        return m == "GROUP" ? Clave::Group : Clave::Otra;
    case 'L':
        return m == "LIMIT" ? Clave::Fin : Clave::Otra;
    case 'H':
        return m == "HAVING" ? Clave::Fin : Clave::Otra;
    case 'W':
        return m == "WHERE" ? Clave::Fin : Clave::Otra;
    case 'U':
        return m == "UNION" ? Clave::Fin : Clave::Otra;
    case 'F':
        return m == "FROM" ? Clave::Fin : Clave::Otra;
    }
    return Clave::Otra;
}

} // namespace

namespace {

// ----- literals, read the same way by the full translation and by the reuse of a template ----

// A string literal at s[i] == '\'', with '' standing for one apostrophe. False when it is not
// closed; j is then the end of the text.
bool LeerCadena(std::string_view s, size_t i, size_t& j, CString& valor) {
    bool dobles = false;
    j = i + 1;
    while (j < s.size()) {
        if (s[j] != '\'') {
            ++j;
            continue;
        }
        if (j + 1 < s.size() && s[j + 1] == '\'') {
            dobles = true;
            j += 2;
            continue;
        }
        valor = CString(s.substr(i + 1, j - i - 1));
        if (dobles)
            valor.Replace("''", "'");
        ++j;
        return true;
    }
    return false;
}

// A date literal at s[i] == '#'.
bool LeerFecha(std::string_view s, size_t i, size_t& j, std::string& iso) {
    const size_t fin = s.find('#', i + 1);
    if (fin == std::string_view::npos || !FechaIso(std::string(s.substr(i + 1, fin - i - 1)), iso))
        return false;
    j = fin + 1;
    return true;
}

bool EmpiezaNumero(std::string_view s, size_t i) {
    return i < s.size() && (texto::EsDigito(s[i]) ||
                            (s[i] == '.' && i + 1 < s.size() && texto::EsDigito(s[i + 1])));
}

// Digits and points from s[i]; `suelto` when no letter is glued to them.
void LeerNumero(std::string_view s, size_t i, size_t& j, int& puntos, bool& suelto) {
    j = i;
    puntos = 0;
    while (j < s.size() && (texto::EsDigito(s[j]) || s[j] == '.')) {
        puntos += s[j] == '.';
        ++j;
    }
    suelto = j >= s.size() || !EsLetra(s[j]);
}

// False when the number does not fit its type: it then stays in the text, for the engine to
// read as it reads any literal.
bool ValorNumero(std::string_view numero, int puntos, ValorSql& valor) {
    const char* fin = numero.data() + numero.size();
    if (puntos) {
        double v = 0;
        const auto r = std::from_chars(numero.data(), fin, v);
        valor = ValorSql(v);
        return r.ec == std::errc() && r.ptr == fin;
    }
    long long v = 0;
    const auto r = std::from_chars(numero.data(), fin, v);
    valor = ValorSql(v);
    return r.ec == std::errc() && r.ptr == fin;
}

// ----- the template of the last statement ------------------------------------------------------
// Statements run in a loop differ only in their literals. The last translation is kept as the
// fixed text between its literals and their kinds; a statement whose fixed text is the same,
// with a literal of the same kind at each place, gets the same translated text at once.
enum class TipoLiteral { Cadena, Fecha, Entero, Real };
struct Pieza {
    std::string fijo; // the text before the literal, as it stands
    TipoLiteral tipo;
};
struct Plantilla {
    std::vector<Pieza> piezas;
    std::string cola;
    CString texto;
    bool valida = false;
};

thread_local Plantilla ultima;

bool Reutilizar(const Plantilla& p, std::string_view s, SentenciaSql& out) {
    if (!p.valida)
        return false;
    size_t i = 0;
    for (const Pieza& pz : p.piezas) {
        if (s.compare(i, pz.fijo.size(), pz.fijo) != 0)
            return false;
        i += pz.fijo.size();
        size_t j = i;
        switch (pz.tipo) {
        case TipoLiteral::Cadena: {
            CString valor;
            if (i >= s.size() || s[i] != '\'' || !LeerCadena(s, i, j, valor))
                return false;
            out.parametros.emplace_back(std::move(valor));
            break;
        }
        case TipoLiteral::Fecha: {
            std::string iso;
            if (i >= s.size() || s[i] != '#' || !LeerFecha(s, i, j, iso))
                return false;
            out.parametros.emplace_back(CString(std::move(iso)));
            break;
        }
        case TipoLiteral::Entero:
        case TipoLiteral::Real: {
            if (!EmpiezaNumero(s, i))
                return false;
            int puntos;
            bool suelto;
            LeerNumero(s, i, j, puntos, suelto);
            ValorSql v;
            if (!suelto || puntos != (pz.tipo == TipoLiteral::Real ? 1 : 0) ||
                !ValorNumero(s.substr(i, j - i), puntos, v))
                return false;
            out.parametros.push_back(v);
            break;
        }
        }
        i = j;
    }
    if (s.substr(i) != p.cola)
        return false;
    out.texto = p.texto;
    return true;
}

} // namespace

SentenciaSql TraducirSqlEscritorio(const CString& sqlEntrada, bool levantar) {
    const std::string_view s = sqlEntrada.view();
    SentenciaSql out;
    out.parametros.reserve(8);
    if (levantar) {
        if (Reutilizar(ultima, s, out))
            return out;
        out.parametros.clear();
    }
    Plantilla nueva;
    size_t fijoDesde = 0; // where the fixed text before the next literal starts
    auto literal = [&](size_t inicio, TipoLiteral tipo) {
        nueva.piezas.push_back({std::string(s.substr(fijoDesde, inicio - fijoDesde)), tipo});
    };
    std::string r;
    r.reserve(s.size());
    Clave ultimaClave = Clave::Otra;
    bool enListaBy = false; // inside ORDER BY / GROUP BY, where numbers are column positions
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const char c = s[i];
        size_t j = i;
        if (c == '\'') {
            CString valor;
            const bool cerrado = LeerCadena(s, i, j, valor);
            if (levantar && cerrado) {
                literal(i, TipoLiteral::Cadena);
                r += '?';
                out.parametros.emplace_back(std::move(valor));
                fijoDesde = j;
            } else {
                r.append(s, i, j - i);
            }
        } else if (c == '"' || c == '[' || c == '`') {
            // A quoted identifier is copied as it is.
            const char cierre = c == '[' ? ']' : c;
            j = s.find(cierre, i + 1);
            j = j == std::string_view::npos ? n : j + 1;
            r.append(s, i, j - i);
        } else if (c == '#') {
            std::string iso;
            if (LeerFecha(s, i, j, iso)) {
                if (levantar) {
                    literal(i, TipoLiteral::Fecha);
                    r += '?';
                    out.parametros.emplace_back(CString(std::move(iso)));
                    fijoDesde = j;
                } else {
                    r += "'" + iso + "'";
                }
            } else {
                r += c;
                j = i + 1;
            }
        } else if (EmpiezaNumero(s, i)) {
            int puntos;
            bool suelto;
            LeerNumero(s, i, j, puntos, suelto);
            ValorSql v;
            if (levantar && !enListaBy && suelto && puntos <= 1 &&
                ValorNumero(s.substr(i, j - i), puntos, v)) {
                literal(i, puntos ? TipoLiteral::Real : TipoLiteral::Entero);
                r += '?';
                out.parametros.push_back(v);
                fijoDesde = j;
            } else {
                r.append(s, i, j - i);
            }
        } else if (EsLetra(c)) {
            while (j < n && (EsLetra(s[j]) || texto::EsDigito(s[j])))
                ++j;
            const Clave palabra = Palabra(s.substr(i, j - i));
            if (palabra == Clave::By &&
                (ultimaClave == Clave::Order || ultimaClave == Clave::Group))
                enListaBy = true;
            else if (palabra == Clave::Fin)
                enListaBy = false;
            ultimaClave = palabra;
            r.append(s, i, j - i);
        } else {
            // A run of blanks and operators is copied at once.
            if (c == ';' || c == ')')
                enListaBy = false;
            j = i + 1;
            while (j < n) {
                const char d = s[j];
                if (d == '\'' || d == '"' || d == '[' || d == '`' || d == '#' || d == '.' ||
                    texto::EsDigito(d) || EsLetra(d))
                    break;
                if (d == ';' || d == ')')
                    enListaBy = false;
                ++j;
            }
            r.append(s, i, j - i);
        }
        i = j;
    }
    out.texto = CString(std::move(r));
    if (levantar) {
        nueva.cola = std::string(s.substr(fijoDesde));
        nueva.texto = out.texto;
        // A '#' left in the fixed text was not a date here but could start one elsewhere: such
        // a statement is always translated in full.
        nueva.valida = nueva.cola.find('#') == std::string::npos;
        for (const Pieza& pz : nueva.piezas)
            nueva.valida = nueva.valida && pz.fijo.find('#') == std::string::npos;
        ultima = std::move(nueva);
    }
    return out;
}
