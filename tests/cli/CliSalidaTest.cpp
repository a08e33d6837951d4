// What a command hands a script: output that never reached its destination is a refusal, the
// data on stdout is never mixed with the page's messages, and `type` takes only what a person
// can type into a one-line box.
#include "cli/Cli.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace {

class CliSalida : public Cli {
protected:
    std::string c;
    void SetUp() override {
        c = Nueva("863 --month 3 --year 2024");
        ASSERT_EQ(Modelo("set " + c + " P1-10=B12345674 P1-60=2 P1-64=10,00 P1-68=1,00").estado, 0);
    }
};

} // namespace

// Every command that prints, each more or less than the buffer of the stream holds.
TEST_F(CliSalida, OutputThatCannotBeWrittenIsARefusalNotASuccess) {
    for (int i = 0; i < 60; ++i)
        Nueva("871"); // a list longer than one buffer
    for (const std::string& args : std::vector<std::string>{
             "forms", "list", "list --json", "show " + c, "show " + c + " --json", "boxes",
             "pdf417 " + c, "remesa " + c, "view " + c, "view " + c + " --json", "validate " + c,
             "tariff 863 --date 01/03/2024", "parties list", "--help", "--version"}) {
        ASSERT_EQ(Modelo(args + " >/dev/null").estado, args.rfind("validate", 0) == 0 ? 1 : 0)
            << args;
        const auto s = Modelo(args + " >/dev/full");
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_TRUE(Contiene(s.err, "no se ha podido escribir la salida: no queda espacio en el "
                                    "disco"))
            << args << ": " << s.err;
    }
    // A file the command writes, and a standard output closed before anything was printed.
    EXPECT_EQ(Modelo("view " + c + " -o /dev/full").estado, 2);
    EXPECT_EQ(Modelo("new 863 >&-").estado, 2);
    EXPECT_EQ(Modelo("set " + c + " P1-11=X >&-").estado, 0); // prints nothing: nothing lost
}

TEST_F(CliSalida, OutputRedirectedOntoAFullDiskIsARefusal) {
    if (!apoyo::HayEspacioDeMontaje())
        GTEST_SKIP() << "no mount namespace for a small file system";
    const std::string disco = tmp / "disco";
    fs::create_directory(disco);
    const std::string guion = tmp / "lleno.sh";
    apoyo::Escribir(guion, "mount -t tmpfs -o size=64k tmpfs '" + disco +
                               "' || exit 99\n"
                               "dd if=/dev/zero of='" +
                               disco + "/relleno' bs=4k 2>/dev/null\n'" + MODELO_BIN_DIR +
                               "/modelo' --db '" + db + "' show " + c + " --json >'" + disco +
                               "/salida'\necho $?\n");
    const auto s = apoyo::Ejecutar("unshare -rm sh '" + guion + "'");
    EXPECT_EQ(s.out, "2\n");
    EXPECT_TRUE(Contiene(s.err, "no queda espacio en el disco")) << s.err;
}

// Box 52 is free text once a kind of declaration is ticked.
TEST_F(CliSalida, TypeRefusesControlCharactersAndSavesNothing) {
    const std::string antes = Estado();
    for (const std::string& paso :
         {std::string("$(printf 'P1-52=1\\nP1-72\\t9.999,00')"),
          std::string("$(printf 'P1-52=ACME\\033[31m')"), std::string("$(printf 'P1-52=A\\177')"),
          std::string("$(printf 'P1-60=1\\r')")}) {
        const auto s = Modelo("type " + c + " P1-51:click \"" + paso + "\"");
        EXPECT_EQ(s.estado, 2) << paso;
        EXPECT_TRUE(Contiene(s.err, "no admite caracteres de control")) << s.err;
        EXPECT_FALSE(Contiene(s.err, "\033")) << s.err;
        EXPECT_EQ(std::count(s.err.begin(), s.err.end(), '\n'), 1) << s.err;
    }
    // The raw way refuses them too, the delete character included.
    EXPECT_EQ(Modelo("set " + c + " \"$(printf 'P1-11=A\\177')\"").estado, 2);
    EXPECT_EQ(Estado(), antes);
    // Bytes >= 0x80 are characters, not control: UTF-8, and a Latin-1 byte on its own.
    auto s = Modelo("type " + c + " P1-50:click 'P1-52=ÑANDÚ'");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(Contiene(Modelo("show " + c).out, "P1-52\tÑANDÚ\n"));
    s = Modelo("type " + c + " \"$(printf 'P1-52=\\321A')\"");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(
        Contiene(Modelo("show " + c).out, apoyo::EnServidor() ? "P1-52\tÑA\n" : "P1-52\t\321A\n"));
}

TEST_F(CliSalida, TypeQuotesAStepCutAndWithoutItsControlCharacters) {
    const std::string largo = std::string(3000, 'A');
    for (const std::string& paso :
         {"P1-11=" + largo, "P1-999=" + largo, "P1-11:" + largo, "P1-53@" + largo}) {
        const auto s = Modelo("type " + c + " '" + paso + "'");
        EXPECT_NE(s.estado, 0) << paso.substr(0, 8);
        EXPECT_LT(s.err.size(), 600u) << s.err;
        EXPECT_TRUE(Contiene(s.err, "...")) << s.err;
    }
    const auto s = Modelo("type " + c + " \"$(printf 'P1-11:\\033]0;titulo\\007')\"");
    EXPECT_EQ(s.estado, 2);
    EXPECT_FALSE(Contiene(s.err, "\033")) << s.err;
    EXPECT_FALSE(Contiene(s.err, "\007")) << s.err;
}

// A stored period the page refuses: the page says so as soon as it shows the declaration.
TEST_F(CliSalida, APagesMessageAtLoadGoesToStderrAndIsNoStepsFailure) {
    ASSERT_EQ(Modelo("set " + c + " P1-1=03 P1-2=1999").estado, 0);
    auto s = Modelo("view " + c + " --json");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(nlohmann::json::accept(s.out)) << s.out.substr(0, 200);
    EXPECT_FALSE(s.err.empty());

    s = Modelo("print " + c + " -o '" + tmp / "d.pdf" + "'");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.out, "");

    s = Modelo("type " + c + " P1-61=4");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_FALSE(s.err.empty()); // what the page said is still shown
    EXPECT_EQ(s.out, "");
    EXPECT_TRUE(Contiene(Modelo("show " + c).out, "P1-61\t4\n"));
    // A step the page refuses is still a finding.
    EXPECT_EQ(Modelo("type " + c + " P1-2=2031").estado, 1);
}
