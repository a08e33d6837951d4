// `modelo print --printer`: what a real print service did with the job. Each run starts a
// print server of its own in a temporary folder, listening only on a socket there, with queues
// that write what they print to files of that folder; it is stopped and removed at the end.
#include "cli/Cli.h"
#include <cstdlib>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

std::string Programa(const char* nombre) {
    for (const char* carpeta : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/"})
        if (access((std::string(carpeta) + nombre).c_str(), X_OK) == 0)
            return std::string(carpeta) + nombre;
    return "";
}

// A queue that hands the document, as it came, to its file: what the printer would get.
constexpr const char* kPPD = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PRUEBA.PPD"
*Manufacturer: "Prueba"
*Product: "(Cola PDF)"
*ModelName: "Cola PDF"
*ShortNickName: "Cola PDF"
*NickName: "Cola PDF"
*PSVersion: "(3010.000) 0"
*ColorDevice: False
*cupsFilter: "application/pdf 0 gziptoany"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: ""
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4: "595 842"
)PPD";

class ServidorImpresion {
public:
    ServidorImpresion() {
        const std::string cupsd = Programa("cupsd");
        if (cupsd.empty() || Programa("lpadmin").empty()) {
            fallo_ = "cupsd o lpadmin no están instalados";
            return;
        }
        for (const char* d : {"spool", "spool/tmp", "cache", "state", "log", "salida"})
            std::filesystem::create_directories(dir_.Ruta() / d);
        // The queues' files are written by the server's filter user.
        std::filesystem::permissions(dir_.Ruta() / "salida", std::filesystem::perms::all);
        apoyo::Escribir(dir_ / "cupsd.conf", "Listen " + Socket() + R"(
Browsing No
WebInterface No
DefaultAuthType None
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
)");
        const std::string d = dir_.Ruta().string();
        apoyo::Escribir(dir_ / "cups-files.conf",
                        "FileDevice Yes\nServerRoot " + d + "\nRequestRoot " + d +
                            "/spool\nTempDir " + d + "/spool/tmp\nCacheDir " + d +
                            "/cache\nStateDir " + d +
                            "/state\nServerBin /usr/lib/cups\n"
                            "DataDir /usr/share/cups\nErrorLog " +
                            d +
                            "/log/error_log\n"
                            "AccessLog " +
                            d + "/log/access_log\nPageLog " + d + "/log/page_log\n");
        apoyo::Escribir(dir_ / "cola.ppd", kPPD);
        const auto prueba = apoyo::Ejecutar(cupsd + " -t -c " + (dir_ / "cupsd.conf") + " -s " +
                                            (dir_ / "cups-files.conf"));
        if (prueba.estado != 0) {
            fallo_ = "cupsd no acepta la configuración: " + prueba.out + prueba.err;
            return;
        }
        pid_ =
            apoyo::Lanzar({cupsd, "-f", "-c", dir_ / "cupsd.conf", "-s", dir_ / "cups-files.conf"},
                          dir_ / "cupsd.out");
        // A guard against a server that never answers, not a measure of its speed.
        for (int i = 0; i < 200 && !Responde(); ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                fallo_ = "cupsd terminó al arrancar: " + apoyo::Leer(dir_ / "cupsd.out");
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!Responde())
            fallo_ = "cupsd no responde en " + Socket();
    }
    ~ServidorImpresion() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            apoyo::Esperar(pid_);
        }
    }

    const std::string& Fallo() const { return fallo_; }
    std::string Socket() const { return dir_ / "cups.sock"; }
    std::string Salida(const std::string& cola) const { return dir_ / ("salida/" + cola); }

    // One of the server's own tools, run on this server.
    apoyo::Salida Orden(const std::string& programa, const std::string& args) const {
        return apoyo::Ejecutar(Programa(programa.c_str()) + " -h '" + Socket() + "' " + args);
    }
    void NuevaCola(const std::string& nombre, const std::string& opciones = "") const {
        const auto s = Orden("lpadmin", "-p " + nombre + " -E -v 'file://" + Salida(nombre) +
                                            "' -P '" + (dir_ / "cola.ppd") + "' " + opciones);
        ASSERT_EQ(s.estado, 0) << s.err;
    }
    // The queue's jobs in a state: "not-completed" or "completed".
    std::string Trabajos(const std::string& cola, const std::string& cuales) const {
        return Orden("lpstat", "-W " + cuales + " -o " + cola).out;
    }
    // Whether the job ends printed. The limit guards against a job that never ends; it is no
    // measure of speed.
    bool Terminado(const std::string& cola, const std::string& trabajo) const {
        for (int i = 0; i < 600; ++i) {
            if (Contiene(Trabajos(cola, "completed"), trabajo))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

private:
    bool Responde() const {
        return std::filesystem::exists(Socket()) &&
               Contiene(Orden("lpstat", "-r").out, "scheduler is running");
    }

    apoyo::CarpetaTemporal dir_;
    pid_t pid_ = -1;
    std::string fallo_;
};

class CliImpresora : public Cli {
protected:
    static void SetUpTestSuite() { servidor_ = new ServidorImpresion; }
    static void TearDownTestSuite() {
        delete servidor_;
        servidor_ = nullptr;
    }
    void SetUp() override {
        // CI installs the print server, so there a server that does not start is a fault of
        // the run, not a machine without one.
        if (!servidor_->Fallo().empty() && std::getenv("CI"))
            FAIL() << "No se puede arrancar un servidor de impresión: " << servidor_->Fallo();
        if (!servidor_->Fallo().empty())
            GTEST_SKIP() << "No se puede arrancar un servidor de impresión: " << servidor_->Fallo();
        codigo = Nueva("863 --month 3 --year 2024");
        auto s = Modelo("set " + codigo + " P1-10=B12345674 'P1-11=LA CASA DE ÑANDÚ, S.L.'");
        ASSERT_EQ(s.estado, 0) << s.err;
    }
    apoyo::Salida Imprimir(const std::string& cola, const std::string& mas = "") {
        return apoyo::Ejecutar("CUPS_SERVER='" + servidor_->Socket() + "' " + MODELO_BIN_DIR +
                               "/modelo --db '" + db + "' print " + codigo + " --printer '" + cola +
                               "' " + mas);
    }
    // The job name in "Trabajo COLA-12 enviado a COLA.".
    static std::string Trabajo(const apoyo::Salida& s, const std::string& cola) {
        const std::string prefijo = "Trabajo " + cola + "-";
        EXPECT_EQ(s.out.rfind(prefijo, 0), 0u) << s.out;
        EXPECT_TRUE(Contiene(s.out, " enviado a " + cola + ".\n")) << s.out;
        return s.out.substr(8, s.out.find(' ', 8) - 8);
    }
    int Paginas(const std::string& pdf) {
        const auto s = apoyo::Ejecutar("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'");
        EXPECT_EQ(s.estado, 0) << s.err;
        return s.out.empty() ? -1 : std::stoi(s.out);
    }

    static ServidorImpresion* servidor_;
    std::string codigo;
};
ServidorImpresion* CliImpresora::servidor_ = nullptr;

TEST_F(CliImpresora, AnAcceptingQueuePrintsTheSamePdfAsTheFileAndNamesTheJob) {
    servidor_->NuevaCola("Oficina");
    const auto s = Imprimir("Oficina", "--copies 2");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.err, "");
    const std::string trabajo = Trabajo(s, "Oficina");
    ASSERT_TRUE(servidor_->Terminado("Oficina", trabajo));

    const std::string impreso = servidor_->Salida("Oficina");
    EXPECT_EQ(apoyo::Leer(impreso).rfind("%PDF-", 0), 0u);
    const std::string fichero = tmp / "fichero.pdf";
    ASSERT_EQ(Modelo("print " + codigo + " -o '" + fichero + "' --copies 2").estado, 0);
    EXPECT_EQ(Paginas(impreso), Paginas(fichero));
    EXPECT_GT(Paginas(impreso), 2);
}

TEST_F(CliImpresora, ARefusingQueueOrAnUnknownPrinterIsARefusalWithNoJob) {
    servidor_->NuevaCola("Cerrada");
    ASSERT_EQ(servidor_->Orden("cupsreject", "-r 'Sin tóner' Cerrada").estado, 0);
    auto s = Imprimir("Cerrada");
    EXPECT_EQ(s.estado, 2);
    EXPECT_EQ(s.out, "");
    EXPECT_TRUE(Contiene(s.err, "La impresora Cerrada no admite trabajos: «Sin tóner»")) << s.err;
    EXPECT_EQ(servidor_->Trabajos("Cerrada", "all"), "");

    // Without a reason the server's own English default is not repeated.
    servidor_->NuevaCola("Cerrada2");
    ASSERT_EQ(servidor_->Orden("cupsreject", "Cerrada2").estado, 0);
    s = Imprimir("Cerrada2");
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "no admite trabajos\n")) << s.err;

    for (const char* nombre : {"No Existe", "NoExiste", "a/b", "x?y#z"}) {
        s = Imprimir(nombre);
        EXPECT_EQ(s.estado, 2) << nombre;
        EXPECT_EQ(s.out, "");
        EXPECT_TRUE(Contiene(s.err, std::string("El sistema no tiene la impresora ") + nombre))
            << s.err;
    }
}

TEST_F(CliImpresora, AJobThatWaitsInTheQueueIsTakenAndSaidSo) {
    // A stopped printer keeps its jobs until it is resumed: sending again would print twice.
    servidor_->NuevaCola("Parada");
    ASSERT_EQ(servidor_->Orden("cupsdisable", "Parada").estado, 0);
    auto s = Imprimir("Parada");
    EXPECT_EQ(s.estado, 0) << s.err;
    std::string trabajo = Trabajo(s, "Parada");
    EXPECT_TRUE(Contiene(s.err, "La impresora Parada está detenida: el trabajo " + trabajo +
                                    " espera en la cola hasta que se reanude"))
        << s.err;
    EXPECT_TRUE(Contiene(servidor_->Trabajos("Parada", "not-completed"), trabajo));
    // And it prints once the printer resumes.
    ASSERT_EQ(servidor_->Orden("cupsenable", "Parada").estado, 0);
    EXPECT_TRUE(servidor_->Terminado("Parada", trabajo));
    EXPECT_EQ(apoyo::Leer(servidor_->Salida("Parada")).rfind("%PDF-", 0), 0u);

    servidor_->NuevaCola("Retenida", "-o job-hold-until-default=indefinite");
    s = Imprimir("Retenida");
    EXPECT_EQ(s.estado, 0) << s.err;
    trabajo = Trabajo(s, "Retenida");
    EXPECT_TRUE(Contiene(s.err, "El trabajo " + trabajo + " está retenido en la cola")) << s.err;
    EXPECT_TRUE(Contiene(servidor_->Trabajos("Retenida", "not-completed"), trabajo));
    ASSERT_EQ(servidor_->Orden("lp", "-i " + trabajo + " -H resume").estado, 0);
    EXPECT_TRUE(servidor_->Terminado("Retenida", trabajo));
}

TEST_F(Cli, APrintServiceThatCannotBeReachedIsARefusal) {
    const std::string codigo = Nueva("863 --month 3 --year 2024");
    const auto s =
        apoyo::Ejecutar("CUPS_SERVER='" + (tmp / "no-hay.sock") + "' " + MODELO_BIN_DIR +
                        "/modelo --db '" + db + "' print " + codigo + " --printer Oficina");
    EXPECT_EQ(s.estado, 2);
    EXPECT_EQ(s.out, "");
    EXPECT_TRUE(Contiene(s.err, "No se pudo conectar con el sistema de impresión")) << s.err;
}

} // namespace
