// The store on a PostgreSQL server against the embedded SQLite file, in one run.
//
//   bench_servidor [URI] [--rondas R] [--documentos N] [--intentos N]
//
// URI names an empty database on a server; without it a throw-away server is started with
// scripts/servidor-pruebas.sh and stopped at the end. On each engine (SQLite in a temporary
// file, then the server), it measures:
//  - 28 desks, each a `modelo set` process, saving a different box of the same declaration at
//    once, R rounds (default 5): boxes lost (a box that does not hold the last value its desk
//    saved) and saves refused (a non-zero exit); then 28 desks creating declarations at once,
//    R rounds: every code distinct, none refused. The time of a round.
//  - the import of N documents (default 1,000,000) with `modelo import`, best of the tries,
//    and the boxes it leaves, which must be the same on both engines.
//  - opening a filled declaration in the window (offscreen): "en frío" from nothing (the host
//    opens the database and loads the plug-ins, the window is built and reads its list, the
//    declaration is opened and its page drawn) and "en caliente" (an existing window opens it
//    again), best and median of the tries (default 10).
// Then the ratios server / SQLite against their targets: the import within 1.5x, the window
// within 2x. Exit 0 only when every check holds and every target is met.
#include "GeneradorDocumentos.h"
#include "Host.h"
#include "Modelo/store/BaseDatos.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "VentanaPrincipal.h"

#include <QApplication>
#include <QTableWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Reloj_ = std::chrono::steady_clock;

const std::string kModelo = std::string(MODELO_BIN_DIR) + "/modelo";
const std::string kServidorPruebas =
    std::string(MODELO_SOURCE_DIR) + "/scripts/servidor-pruebas.sh";

// One box per desk: text, digits and whole numbers of page 1, each stored as `set` writes it
// and none of them written back by a save (a total, the signature's date).
constexpr int kCasillas[] = {11, 12, 13, 15, 16, 17, 18, 19, 20, 31, 32, 33,  35,  36,
                             37, 38, 39, 40, 52, 55, 60, 61, 62, 63, 64, 141, 142, 147};
constexpr int kPuestos = int(std::size(kCasillas));

double Segundos(Reloj_::time_point desde) {
    return std::chrono::duration<double>(Reloj_::now() - desde).count();
}

std::string Leer(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string PrimeraLinea(const std::string& s) {
    return s.substr(0, s.find('\n'));
}

// A child process of the program (or of any command), its output kept in two files.
class Proceso {
public:
    Proceso(std::vector<std::string> args, const fs::path& salida) : salida_(salida) {
        const std::string out = salida.string() + ".out", err = salida.string() + ".err";
        pid_ = fork();
        if (pid_ == 0) {
            // Only what is safe between fork and exec: the files, then the program.
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (o < 0 || e < 0 || dup2(o, STDOUT_FILENO) < 0 || dup2(e, STDERR_FILENO) < 0)
                _exit(127);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        if (pid_ < 0)
            throw std::runtime_error("no se puede crear un proceso: " +
                                     std::string(std::strerror(errno)));
    }
    // Waits for it: the exit status (-1 for a signal).
    int Esperar() {
        int estado = 0;
        waitpid(pid_, &estado, 0);
        return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    }
    std::string Salida() const { return Leer(salida_.string() + ".out"); }
    std::string Errores() const { return Leer(salida_.string() + ".err"); }

private:
    fs::path salida_;
    pid_t pid_ = -1;
};

struct Corrida {
    int estado;
    std::string salida, errores;
};

Corrida Modelo(const std::string& db, std::vector<std::string> args, const fs::path& salida) {
    args.insert(args.begin(), {kModelo, "--db", db});
    Proceso p(args, salida);
    const int estado = p.Esperar();
    return {estado, p.Salida(), p.Errores()};
}

// A step that must succeed for the measures to mean anything.
std::string Exigir(const Corrida& c, const std::string& que) {
    if (c.estado != 0)
        throw std::runtime_error(que + " terminó con estado " + std::to_string(c.estado) + ": " +
                                 PrimeraLinea(c.errores));
    return c.salida;
}

std::string NuevaDeclaracion(const std::string& db, const fs::path& carpeta) {
    return PrimeraLinea(Exigir(
        Modelo(db, {"new", "863", "--month", "03", "--year", "2024"}, carpeta / "nueva"), "new"));
}

struct Tiempos {
    double mejor = 1e300, mediana = 0;
};

Tiempos Resumir(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2]};
}

struct Puestos {
    int perdidas = 0, rechazadosGuardar = 0;
    // Creations refused; codes given to two desks; codes given out that the store lacks.
    int rechazadosCrear = 0, codigosRepetidos = 0, codigosAusentes = 0;
    Tiempos guardar, crear;
    std::string primerRechazo;
};

// Each desk's value of a round, unlike any other round's.
std::string Valor(int ronda, int puesto) {
    return std::to_string((ronda + 1) * 1000 + puesto);
}

Puestos MedirPuestos(const std::string& db, const fs::path& carpeta, int rondas) {
    Puestos r;
    const std::string codigo = NuevaDeclaracion(db, carpeta);
    // What each desk's box must hold: the last value its desk saved.
    std::vector<std::string> esperado(kPuestos);
    std::vector<double> guardar, crear;
    for (int ronda = 0; ronda < rondas; ++ronda) {
        const auto t = Reloj_::now();
        std::vector<Proceso> puestos;
        puestos.reserve(kPuestos);
        for (int p = 0; p < kPuestos; ++p)
            puestos.emplace_back(std::vector<std::string>{kModelo, "--db", db, "set", codigo,
                                                          "P1-" + std::to_string(kCasillas[p]) +
                                                              "=" + Valor(ronda, p)},
                                 carpeta / ("puesto" + std::to_string(p)));
        std::vector<int> estados;
        for (Proceso& p : puestos)
            estados.push_back(p.Esperar());
        guardar.push_back(Segundos(t));
        for (int p = 0; p < kPuestos; ++p) {
            if (estados[size_t(p)] == 0) {
                esperado[size_t(p)] = Valor(ronda, p);
                continue;
            }
            ++r.rechazadosGuardar;
            if (r.primerRechazo.empty())
                r.primerRechazo = "set: " + PrimeraLinea(puestos[size_t(p)].Errores());
        }
        // The boxes as the store holds them after the round.
        std::istringstream casillas(
            Exigir(Modelo(db, {"show", codigo, "--page", "1"}, carpeta / "mostrar"), "show"));
        std::vector<std::string> guardado(kPuestos);
        for (std::string linea; std::getline(casillas, linea);) {
            const size_t tab = linea.find('\t');
            for (int p = 0; p < kPuestos; ++p)
                if (linea.substr(0, tab) == "P1-" + std::to_string(kCasillas[p]))
                    guardado[size_t(p)] = linea.substr(tab + 1);
        }
        for (int p = 0; p < kPuestos; ++p)
            r.perdidas += guardado[size_t(p)] != esperado[size_t(p)];
    }

    std::set<std::string> codigos{codigo};
    for (int ronda = 0; ronda < rondas; ++ronda) {
        const auto t = Reloj_::now();
        std::vector<Proceso> puestos;
        puestos.reserve(kPuestos);
        for (int p = 0; p < kPuestos; ++p)
            puestos.emplace_back(std::vector<std::string>{kModelo, "--db", db, "new", "863",
                                                          "--month", "03", "--year", "2024"},
                                 carpeta / ("puesto" + std::to_string(p)));
        std::vector<int> estados;
        for (Proceso& p : puestos)
            estados.push_back(p.Esperar());
        crear.push_back(Segundos(t));
        for (int p = 0; p < kPuestos; ++p) {
            if (estados[size_t(p)] != 0) {
                ++r.rechazadosCrear;
                if (r.primerRechazo.empty())
                    r.primerRechazo = "new: " + PrimeraLinea(puestos[size_t(p)].Errores());
                continue;
            }
            r.codigosRepetidos += !codigos.insert(PrimeraLinea(puestos[size_t(p)].Salida())).second;
        }
    }
    // Every code a desk was given is a declaration of the store.
    std::istringstream lista(Exigir(Modelo(db, {"list"}, carpeta / "lista"), "list"));
    std::set<std::string> guardadas;
    for (std::string linea; std::getline(lista, linea);)
        guardadas.insert(linea.substr(0, linea.find('\t')));
    for (const std::string& c : codigos)
        r.codigosAusentes += !guardadas.count(c);
    r.guardar = Resumir(guardar);
    r.crear = Resumir(crear);
    return r;
}

struct Importacion {
    double segundos = 1e300;
    std::string casillas; // page 1 as `show` prints it after the import
};

// One try of the import into a declaration of its own on each engine, the engines in turn so
// that a busy moment of a shared machine falls on one try of each rather than on all of one.
void Importar(const std::vector<std::string>& bases, const fs::path& fichero,
              const fs::path& carpeta, int intentos, std::vector<Importacion>& r) {
    r.assign(bases.size(), {});
    for (int i = 0; i < intentos; ++i)
        for (size_t e = 0; e < bases.size(); ++e) {
            const std::string codigo = NuevaDeclaracion(bases[e], carpeta);
            const auto t = Reloj_::now();
            Exigir(Modelo(bases[e], {"import", codigo, fichero.string()}, carpeta / "importar"),
                   "import");
            r[e].segundos = std::min(r[e].segundos, Segundos(t));
            r[e].casillas = Exigir(
                Modelo(bases[e], {"show", codigo, "--page", "1"}, carpeta / "mostrar"), "show");
        }
}

// The documents the boxes of page 1 count, all four kinds.
long Documentos(const std::string& casillas) {
    std::istringstream s(casillas);
    long total = 0;
    for (std::string linea; std::getline(s, linea);)
        for (const char* numero : {"P1-60\t", "P1-61\t", "P1-62\t", "P1-63\t"})
            if (linea.rfind(numero, 0) == 0) {
                std::string cifras = linea.substr(std::strlen(numero));
                std::erase(cifras, '.'); // a thousands separator, should the box show one
                total += std::atol(cifras.c_str());
            }
    return total;
}

struct Ventana {
    Tiempos frio, caliente;
    // Where a cold opening's time goes, medians: the host (the database opened, the plug-ins
    // loaded), the window with its list, the declaration's page.
    double host = 0, lista = 0, pagina = 0;
    int declaraciones = 0; // rows of the window's list
};

// The declaration of the window's measure: the boxes a person fills in, saved.
CString Rellenada(CHost& host) {
    const CString codigo = host.Nueva("863", "03", "2024")->GetCodDeclar();
    auto doc = host.Abrir(codigo);
    const std::pair<int, const char*> valores[] = {
        {10, "B12345674"}, {11, "TRANSPORTES DEL NORTE, S.L."},
        {21, "28"},        {22, "079"},
        {60, "3"},         {64, "1.500,00"},
        {68, "15,00"},     {62, "1"},
        {66, "20,00"},     {70, "0,20"},
        {72, "15,20"},     {140, "12345678Z"}};
    for (auto [casilla, valor] : valores)
        doc->SetCasilla(casilla, 0, valor);
    host.Guardar(*doc);
    return codigo;
}

// The time to the first page drawn, as the screen would draw it.
double Mostrar(VentanaPrincipal& ventana, const CString& codigo) {
    const auto t = Reloj_::now();
    PestanaDeclaracion* p = ventana.Abrir(codigo);
    if (!p)
        throw std::runtime_error("la ventana no abre " + std::string(codigo.str()));
    p->Pagina(0)->grab();
    const double s = Segundos(t);
    ventana.Pestanas()->removeTab(ventana.Pestanas()->indexOf(p));
    delete p;
    return s;
}

Ventana MedirVentana(const std::string& db, int intentos) {
    CServiciosGrabados ui;
    AfxFijarServicios(&ui);
    CString codigo;
    std::vector<double> frio, caliente;
    {
        CHost host(CString(db.c_str()), MODELO_BIN_DIR);
        codigo = Rellenada(host);
        VentanaPrincipal ventana(host);
        ventana.show();
        QApplication::processEvents();
        for (int i = 0; i < intentos; ++i)
            caliente.push_back(Mostrar(ventana, codigo));
    }
    Ventana r;
    std::vector<double> host, lista, pagina;
    for (int i = 0; i < intentos; ++i) {
        const auto t = Reloj_::now();
        CHost h(CString(db.c_str()), MODELO_BIN_DIR);
        host.push_back(Segundos(t));
        VentanaPrincipal ventana(h);
        ventana.show();
        lista.push_back(Segundos(t) - host.back());
        r.declaraciones = ventana.Lista()->rowCount();
        pagina.push_back(Mostrar(ventana, codigo));
        frio.push_back(Segundos(t));
    }
    AfxFijarServicios(nullptr);
    r.frio = Resumir(frio);
    r.caliente = Resumir(caliente);
    r.host = Resumir(host).mediana;
    r.lista = Resumir(lista).mediana;
    r.pagina = Resumir(pagina).mediana;
    return r;
}

// The throw-away server when no URI is given: started in a short folder (its socket lives
// there) and stopped, with the folder, when the run ends however it ends.
class ServidorDePruebas {
public:
    explicit ServidorDePruebas(const fs::path& carpeta) : carpeta_(carpeta) {
        if (!fs::exists(kServidorPruebas))
            throw std::runtime_error("falta " + kServidorPruebas +
                                     "; dé la URI de una base de datos vacía");
        Proceso p({"/bin/bash", kServidorPruebas, "start", (carpeta_ / "pg").string()},
                  carpeta_ / "servidor");
        const int estado = p.Esperar();
        arrancado_ = true;
        std::istringstream s(p.Salida());
        for (std::string linea; std::getline(s, linea);)
            if (!linea.empty())
                uri_ = linea;
        if (estado != 0 || uri_.empty())
            throw std::runtime_error("el servidor de pruebas no arranca: " +
                                     PrimeraLinea(p.Errores()));
    }
    ~ServidorDePruebas() {
        if (arrancado_)
            Proceso({"/bin/bash", kServidorPruebas, "stop", (carpeta_ / "pg").string()},
                    carpeta_ / "servidor")
                .Esperar();
    }
    const std::string& Uri() const { return uri_; }

private:
    fs::path carpeta_;
    std::string uri_;
    bool arrancado_ = false;
};

struct Opciones {
    std::string uri;
    int rondas = 5;
    long documentos = 1000000;
    int intentos = 10;
};

Opciones LeerOpciones(int argc, char** argv) {
    Opciones o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool conValor = i + 1 < argc;
        if (a == "--rondas" && conValor)
            o.rondas = std::atoi(argv[++i]);
        else if (a == "--documentos" && conValor)
            o.documentos = std::atol(argv[++i]);
        else if (a == "--intentos" && conValor)
            o.intentos = std::atoi(argv[++i]);
        else if (o.uri.empty() && EsUriServidor(CString(a.c_str())))
            o.uri = a;
        else
            throw std::invalid_argument(a);
    }
    if (o.rondas < 1 || o.documentos < 1 || o.intentos < 1)
        throw std::invalid_argument("un número menor que 1");
    return o;
}

// The files of a temporary folder, gone when the run ends.
struct CarpetaTemporal {
    fs::path ruta;
    CarpetaTemporal() {
        // Short: the test server's socket path must fit in about a hundred bytes.
        char plantilla[] = "/tmp/mbs-XXXXXX";
        if (!mkdtemp(plantilla))
            throw std::runtime_error("no se puede crear una carpeta temporal");
        ruta = plantilla;
    }
    ~CarpetaTemporal() {
        std::error_code ec;
        fs::remove_all(ruta, ec);
    }
};

// Prints the ratio server / SQLite, against its target when it has one (`limite` > 0); whether
// the target is met.
bool Ratio(const char* que, double sqlite, double servidor, double limite = 0) {
    const double ratio = servidor / sqlite;
    std::printf("%-32s %10.3f s %10.3f s %8.2fx", que, sqlite, servidor, ratio);
    if (limite > 0)
        std::printf("   (objetivo <= %.1fx: %s)", limite,
                    ratio <= limite ? "cumplido" : "NO CUMPLIDO");
    std::printf("\n");
    return limite <= 0 || ratio <= limite;
}

int Medir(const Opciones& o) {
    CarpetaTemporal tmp;
    std::unique_ptr<ServidorDePruebas> propio;
    std::string uri = o.uri;
    if (uri.empty()) {
        propio = std::make_unique<ServidorDePruebas>(tmp.ruta);
        uri = propio->Uri();
    }
    const std::vector<std::string> bases = {(tmp.ruta / "bench.db").string(), uri};
    const char* nombres[] = {"SQLite", "servidor"};
    std::printf("SQLite: %s\nservidor: %s\n", bases[0].c_str(),
                DestinoVisible(CString(uri.c_str())).str().c_str());

    bool bien = true;
    std::printf("\n%d puestos a la vez, %d rondas\n", kPuestos, o.rondas);
    std::printf("%-10s %9s %9s %10s %10s %10s %9s %9s %10s %10s\n", "motor", "perdidas", "rechazos",
                "guardar s", "(mediana)", "repetidos", "ausentes", "rechazos", "crear s",
                "(mediana)");
    std::vector<Puestos> puestos;
    for (size_t e = 0; e < bases.size(); ++e) {
        const Puestos p = MedirPuestos(bases[e], tmp.ruta, o.rondas);
        std::printf("%-10s %9d %9d %10.3f %10.3f %10d %9d %9d %10.3f %10.3f\n", nombres[e],
                    p.perdidas, p.rechazadosGuardar, p.guardar.mejor, p.guardar.mediana,
                    p.codigosRepetidos, p.codigosAusentes, p.rechazadosCrear, p.crear.mejor,
                    p.crear.mediana);
        if (!p.primerRechazo.empty())
            std::printf("  primer rechazo: %s\n", p.primerRechazo.c_str());
        bien = bien && p.perdidas == 0 && p.rechazadosGuardar == 0 && p.codigosRepetidos == 0 &&
               p.codigosAusentes == 0 && p.rechazadosCrear == 0;
        puestos.push_back(p);
    }

    const fs::path fichero = tmp.ruta / "documentos.txt";
    const size_t bytes = GenerarDocumentos(fichero.string(), o.documentos);
    std::vector<Importacion> importacion;
    Importar(bases, fichero, tmp.ruta, 2, importacion);
    fs::remove(fichero);
    const bool iguales = importacion[0].casillas == importacion[1].casillas;
    std::vector<long> contados;
    for (const Importacion& i : importacion)
        contados.push_back(Documentos(i.casillas));
    bien = bien && iguales && contados[0] == o.documentos && contados[1] == o.documentos;
    std::printf("\nimportación de %ld documentos (%.1f MiB), la mejor de 2\n", o.documentos,
                double(bytes) / (1 << 20));
    for (size_t e = 0; e < bases.size(); ++e)
        std::printf("%-10s %10.3f s   %ld documentos en las casillas\n", nombres[e],
                    importacion[e].segundos, contados[e]);
    std::printf("casillas %s\n", iguales ? "iguales en los dos motores" : "DISTINTAS");

    std::vector<Ventana> ventana;
    for (const std::string& db : bases)
        ventana.push_back(MedirVentana(db, o.intentos));
    std::printf("\nventana (offscreen), %d intentos: mejor / mediana\n", o.intentos);
    for (size_t e = 0; e < bases.size(); ++e)
        std::printf("%-10s en frío %8.1f / %8.1f ms   en caliente %8.1f / %8.1f ms\n", nombres[e],
                    ventana[e].frio.mejor * 1e3, ventana[e].frio.mediana * 1e3,
                    ventana[e].caliente.mejor * 1e3, ventana[e].caliente.mediana * 1e3);
    std::printf(
        "en frío, medianas: host (base de datos y plug-ins) / ventana y su lista / página\n");
    for (size_t e = 0; e < bases.size(); ++e)
        std::printf("%-10s %8.1f / %8.1f / %8.1f ms   (%d declaraciones en la lista)\n", nombres[e],
                    ventana[e].host * 1e3, ventana[e].lista * 1e3, ventana[e].pagina * 1e3,
                    ventana[e].declaraciones);

    std::printf("\n%-32s %12s %12s %9s\n", "servidor / SQLite", "SQLite", "servidor", "ratio");
    Ratio("puestos: una ronda de guardar", puestos[0].guardar.mejor, puestos[1].guardar.mejor);
    Ratio("puestos: una ronda de crear", puestos[0].crear.mejor, puestos[1].crear.mejor);
    bien = Ratio("importación", importacion[0].segundos, importacion[1].segundos, 1.5) && bien;
    bien = Ratio("ventana en frío", ventana[0].frio.mejor, ventana[1].frio.mejor, 2) && bien;
    bien = Ratio("ventana en caliente", ventana[0].caliente.mejor, ventana[1].caliente.mejor, 2) &&
           bien;
    return bien ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // the desks' processes inherit it
    QApplication app(argc, argv);
    Opciones o;
    try {
        o = LeerOpciones(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr,
                     "bench_servidor: %s\nuso: bench_servidor [URI] [--rondas R] "
                     "[--documentos N] [--intentos N]\n",
                     e.what());
        return 2;
    }
    try {
        return Medir(o);
    } catch (const CExcepcionBD& e) {
        std::fprintf(stderr, "bench_servidor: %s\n", e.Mensaje().str().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_servidor: %s\n", e.what());
    }
    return 2;
}
