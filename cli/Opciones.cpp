#include "ComandosComun.h"

#include "Modelo/base/Funciones.h"

#include <algorithm>

bool LeerCasilla(const std::string& texto, int& pagina, int& casilla) {
    if (texto.size() < 4 || texto.size() > 6 || texto[0] != 'P' || texto[2] != '-')
        return false;
    if (texto[1] != '1' && texto[1] != '2')
        return false;
    int n = 0;
    for (size_t i = 3; i < texto.size(); ++i) {
        if (!texto::EsDigito(texto[i]))
            return false;
        n = n * 10 + (texto[i] - '0');
    }
    pagina = texto[1] - '1';
    casilla = n;
    return true;
}

CString NombreCasilla(int pagina, int casilla) {
    return CString::Formatted("P%d-%d", pagina + 1, casilla);
}

CString SignificadoCasilla(const CGuiaDoc& doc, int pagina, int casilla) {
    const stCasillaCatalogo* e = doc.EntradaCatalogo(casilla);
    if (!e)
        return CString();
    return pagina == 0 ? CString(e->Significado)
                       : CString(e->Significado) + " (copia de la página 1)";
}

CLI::Option* OpcionEntera(CLI::Option* opcion, int minimo, int maximo) {
    const std::string de = std::to_string(minimo), a = std::to_string(maximo);
    std::string ayuda = de + " a " + a, rango = "un número entero de " + ayuda;
    if (maximo == std::numeric_limits<int>::max()) {
        ayuda = de + " en adelante";
        rango = "un número entero de " + ayuda;
    } else if (maximo == minimo + 1) {
        ayuda = de + " o " + a;
        rango = de + " ni " + a;
    }
    // A transform, not a check: it also rewrites the number plainly for the parser.
    return opcion->type_name("ENTERO")->transform(CLI::Validator(
        [minimo, maximo, rango](std::string& valor) -> std::string {
            const bool digitos =
                !valor.empty() && std::all_of(valor.begin(), valor.end(), texto::EsDigito);
            const size_t primera =
                digitos ? std::min(valor.find_first_not_of('0'), valor.size() - 1) : 0;
            // Ten digits fit a long long whatever they are; more is out of range anyway.
            const bool cabe = digitos && valor.size() - primera <= 10;
            const long long n = cabe ? std::stoll(valor.substr(primera)) : 0;
            if (digitos && (!cabe || n > maximo) && maximo == std::numeric_limits<int>::max())
                return "«" + valor + "» es demasiado grande";
            if (!cabe || n < minimo || n > maximo)
                return "«" + valor + "» no es " + rango;
            valor.erase(0, primera); // "010" is ten, never an octal eight
            return "";
        },
        ayuda));
}

CLI::Option* OpcionCodigo(CLI::App* cmd, std::string& codigo, const char* ayuda) {
    return cmd->add_option("CODE", codigo, ayuda)->required();
}

void OpcionJson(CLI::App* cmd, bool& json, const char* ayuda) {
    cmd->add_flag("--json", json, ayuda);
}
