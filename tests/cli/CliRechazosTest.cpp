// Every refusal of the command line, the parser's own included, reaches the person in Spanish,
// and a number option takes a whole number written in decimal digits or nothing.
#include "cli/Cli.h"

#include <regex>

namespace {

// Words of the parser's English sentences; none is Spanish.
const std::regex kIngles(
    "\\b(Value|not|range|following|argument|arguments|expected|Expected|required|Requires|"
    "Could|convert|excludes|requires|missing|allowed|Should|flag|inputs|Most|least|received|"
    "subcommand|subcommands|given|Exactly|option|error|Error|invalid)\\b");

TEST_F(Cli, EveryRefusalOfTheCommandLineIsInSpanish) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    const std::string pdf = "-o '" + tmp / "x.pdf" + "'";
    const struct {
        std::string args, dice;
    } casos[] = {
        // Whole numbers in range, written as digits, and nothing else.
        {"print " + c + " " + pdf + " --copies 0",
         "--copies: «0» no es un número entero de 1 a 99"},
        {"print " + c + " " + pdf + " --copies 100", "«100» no es un número entero de 1 a 99"},
        {"print " + c + " " + pdf + " --copies 0x2", "«0x2» no es un número entero de 1 a 99"},
        {"print " + c + " " + pdf + " --copies 2.5", "«2.5» no es un número entero"},
        {"print " + c + " " + pdf + " --copies ' 2'", "« 2» no es un número entero"},
        {"print " + c + " " + pdf + " --copies '2 '", "«2 » no es un número entero"},
        {"print " + c + " " + pdf + " --copies 2abc", "«2abc» no es un número entero"},
        {"print " + c + " " + pdf + " --copies +2", "«+2» no es un número entero"},
        {"print " + c + " " + pdf + " --copies=", "Falta el valor de --copies"},
        {"print " + c + " " + pdf + " --copies 1e1", "«1e1» no es un número entero"},
        {"print " + c + " " + pdf + " --copies 99999999999999999999",
         "«99999999999999999999» no es un número entero de 1 a 99"},
        {"print " + c + " " + pdf + " --copies 4294967298", "«4294967298» no es un número"},
        {"print " + c + " " + pdf + " --copies", "Falta el valor de --copies"},
        {"show " + c + " --page 0x1", "--page: «0x1» no es 1 ni 2"},
        {"show " + c + " --page 3", "--page: «3» no es 1 ni 2"},
        {"view " + c + " --page ' 1'", "--page: « 1» no es 1 ni 2"},
        {"pdf417 " + c + " --page 0x1", "--page: «0x1» no es un número entero de 0 en adelante"},
        {"pdf417 " + c + " --page 1.0", "«1.0» no es un número entero de 0 en adelante"},
        {"new 863 --month 0x2", "Mes no válido: 0x2"},
        {"new 863 --month 2.0", "Mes no válido: 2.0"},
        {"new 863 --year ' 2024'", "Año no válido:  2024"},
        {"new 863 --year 2024.0", "Año no válido: 2024.0"},
        {"list --year 99999999999999999999", "Año no válido: 99999999999999999999"},
        // The store would read "1.0" and "1e0" as party 1 and change or remove it.
        {"parties edit 0x1 --name X", "NUM: «0x1» no es un número entero de 1 en adelante"},
        {"parties remove 1.0", "NUM: «1.0» no es un número entero de 1 en adelante"},
        {"parties remove 1e0", "NUM: «1e0» no es un número entero de 1 en adelante"},
        {"parties remove 0", "NUM: «0» no es un número entero de 1 en adelante"},
        {"parties remove 99999999999", "NUM: «99999999999» es demasiado grande"},
        {"parties bind " + c + " --role Representante --party ' 1'", "--party: « 1» no es"},
        // The parser's own sentences.
        {"show", "Falta CODE"},
        {"show " + c + " 2", "Sobra este argumento: 2"},
        {"show " + c + " --nada", "Sobra este argumento: --nada"},
        {"show " + c + " --page 1 --page 2", "--page se puede dar una sola vez"},
        {"show " + c + " --json=talvez", "--json: no es un valor válido: talvez"},
        {"show " + c + " --page", "Falta el valor de --page"},
        {"parties bind " + c + " --role Jefe --party 1", "--role: Jefe no es uno de"},
        {"print " + c + " " + pdf + " --printer X", "--output no se puede usar con --printer"},
        {"parties", "Falta la orden"},
    };
    ASSERT_EQ(Modelo("parties add --nif 12345678Z --name 'MUÑOZ'").estado, 0);
    const std::string almacen = Modelo("parties list").out + Estado();
    for (const auto& caso : casos) {
        const auto s = Modelo(caso.args);
        EXPECT_EQ(s.estado, 2) << caso.args;
        EXPECT_EQ(s.out, "") << caso.args;
        EXPECT_NE(s.err.find(caso.dice), std::string::npos) << caso.args << "\n" << s.err;
        EXPECT_FALSE(std::regex_search(s.err, kIngles)) << caso.args << "\n" << s.err;
    }
    EXPECT_EQ(Modelo("parties list").out + Estado(), almacen);
}

TEST_F(Cli, ANumberWithLeadingZerosIsReadInDecimal) {
    // The parser alone reads "010" as octal eight; a person wrote ten.
    const std::string c = Nueva("863 --month 03 --year 2024");
    const std::string pdf = tmp / "x.pdf";
    ASSERT_EQ(Modelo("print " + c + " -o '" + pdf + "' --copies 010").estado, 0);
    const auto diez = apoyo::Ejecutar("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'").out;
    ASSERT_EQ(Modelo("print " + c + " -o '" + pdf + "' --copies 10").estado, 0);
    EXPECT_EQ(apoyo::Ejecutar("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'").out, diez);
    EXPECT_EQ(Modelo("show " + c + " --page 01").estado, 0);
    EXPECT_EQ(Modelo("pdf417 " + c + " --page 00").estado, 0);
}

} // namespace
