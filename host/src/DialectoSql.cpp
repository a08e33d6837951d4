#include "Modelo/DialectoSql.h"

#include "Modelo/Funciones.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>

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
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", anio, partes[0], partes[1]);
    iso = buf;
    return true;
}

// Keywords that open or close a list of column positions. Words are compared without
// copying: the translation runs once per query, and an import runs one query per document.
enum class Clave { Otra, Order, Group, By, Fin };

Clave Palabra(std::string_view w) {
    auto igual = [w](std::string_view k) {
        if (w.size() != k.size())
            return false;
        for (size_t i = 0; i < w.size(); ++i) {
            char c = w[i];
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
            if (c != k[i])
                return false;
        }
        return true;
    };
    if (igual("BY"))
        return Clave::By;
    if (igual("ORDER"))
        return Clave::Order;
    if (igual("GROUP"))
        return Clave::Group;
    for (std::string_view k : {"LIMIT", "HAVING", "WHERE", "UNION", "FROM", "OFFSET"})
        if (igual(k))
            return Clave::Fin;
    return Clave::Otra;
}

} // namespace

SentenciaSql TraducirSqlEscritorio(const CString& sqlEntrada, bool levantar) {
    const std::string_view s = sqlEntrada.view();
    SentenciaSql out;
    std::string r;
    r.reserve(s.size());
    out.parametros.reserve(8);
    Clave ultima = Clave::Otra;
    bool enListaBy = false; // inside ORDER BY / GROUP BY, where numbers are column positions
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const char c = s[i];
        if (c == '\'') {
            // A string literal, with '' standing for one apostrophe.
            size_t j = i + 1;
            bool dobles = false, cerrado = false;
            while (j < n) {
                if (s[j] != '\'') {
                    ++j;
                    continue;
                }
                if (j + 1 < n && s[j + 1] == '\'') {
                    dobles = true;
                    j += 2;
                    continue;
                }
                cerrado = true;
                ++j;
                break;
            }
            if (levantar && cerrado) {
                CString valor(s.substr(i + 1, j - i - 2));
                if (dobles)
                    valor.Replace("''", "'");
                r += '?';
                out.parametros.emplace_back(std::move(valor));
            } else {
                r.append(s, i, j - i);
            }
            i = j;
        } else if (c == '"' || c == '[' || c == '`') {
            // A quoted identifier is copied as it is.
            const char cierre = c == '[' ? ']' : c;
            size_t j = s.find(cierre, i + 1);
            j = j == std::string_view::npos ? n : j + 1;
            r.append(s, i, j - i);
            i = j;
        } else if (c == '#') {
            const size_t j = s.find('#', i + 1);
            std::string iso;
            if (j != std::string_view::npos &&
                FechaIso(std::string(s.substr(i + 1, j - i - 1)), iso)) {
                if (levantar) {
                    r += '?';
                    out.parametros.emplace_back(CString(std::move(iso)));
                } else {
                    r += "'" + iso + "'";
                }
                i = j + 1;
            } else {
                r += c;
                ++i;
            }
        } else if (texto::EsDigito(c) || (c == '.' && i + 1 < n && texto::EsDigito(s[i + 1]))) {
            size_t j = i;
            int puntos = 0;
            while (j < n && (texto::EsDigito(s[j]) || s[j] == '.')) {
                puntos += s[j] == '.';
                ++j;
            }
            const std::string_view numero = s.substr(i, j - i);
            const bool suelto = j >= n || !EsLetra(s[j]);
            if (levantar && !enListaBy && suelto && puntos <= 1) {
                r += '?';
                if (puntos) {
                    double v = 0;
                    std::from_chars(numero.data(), numero.data() + numero.size(), v);
                    out.parametros.emplace_back(v);
                } else {
                    long long v = 0;
                    std::from_chars(numero.data(), numero.data() + numero.size(), v);
                    out.parametros.emplace_back(v);
                }
            } else {
                r.append(numero);
            }
            i = j;
        } else if (EsLetra(c)) {
            size_t j = i;
            while (j < n && (EsLetra(s[j]) || texto::EsDigito(s[j])))
                ++j;
            // Only short words can be the keywords that matter here.
            const Clave palabra = j - i <= 6 ? Palabra(s.substr(i, j - i)) : Clave::Otra;
            if (palabra == Clave::By && (ultima == Clave::Order || ultima == Clave::Group))
                enListaBy = true;
            else if (palabra == Clave::Fin)
                enListaBy = false;
            ultima = palabra;
            r.append(s, i, j - i);
            i = j;
        } else {
            // A run of blanks and operators is copied at once.
            if (c == ';' || c == ')')
                enListaBy = false;
            size_t j = i + 1;
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
            i = j;
        }
    }
    out.texto = CString(std::move(r));
    return out;
}
