// The program end to end, as a person or a script runs it.
#include "cli/Cli.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST_F(Cli, FormsListsBothPluginsWithoutFlags) {
    auto s = apoyo::Ejecutar(std::string(MODELO_BIN_DIR) + "/modelo --db '" + db + "' forms");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_NE(s.out.find("863\tA1\t"), std::string::npos);
    EXPECT_NE(s.out.find("871\tA1\t"), std::string::npos);
    EXPECT_NE(s.out.find("\tPERIODO\n"), std::string::npos);
}

TEST_F(Cli, NewListSetShowRoundTrip) {
    const std::string a = Nueva("863 --month 3 --year 2024");
    const std::string b = Nueva("871");
    EXPECT_EQ(a, "8630000000001");
    EXPECT_EQ(b, "8710000000001");
    EXPECT_EQ(Modelo("list").out, "8630000000001\t863A1\tborrador\t03\t2024\t\t\n"
                                  "8710000000001\t871A1\tborrador\t\t\t\t\n");

    auto s = Modelo("set " + a +
                    " P1-10=B12345674 'P1-11=LA CASA DE ÑANDÚ, S.L.' P1-72=1,00 "
                    "P1-2=2024");
    ASSERT_EQ(s.estado, 0) << s.err;
    const std::string todo = Modelo("show " + a).out;
    // Ordered by page, then by box number (2 before 10, not as text).
    EXPECT_NE(todo.find("P1-2\t2024\nP1-10\tB12345674\nP1-11\tLA CASA DE ÑANDÚ, S.L.\n"),
              std::string::npos)
        << todo;
    EXPECT_EQ(Modelo("show " + a + " --page 2").out.find("P1-"), std::string::npos);

    auto j = nlohmann::json::parse(Modelo("show " + a + " --json --page 1").out);
    EXPECT_EQ(j["P1-10"], "B12345674");
    EXPECT_EQ(j["P1-11"], "LA CASA DE ÑANDÚ, S.L.");
    EXPECT_FALSE(j.contains("P2-72"));

    // Writing a box empty removes it.
    ASSERT_EQ(Modelo("set " + a + " P1-10=").estado, 0);
    EXPECT_EQ(Modelo("show " + a).out.find("P1-10\t"), std::string::npos);
}

TEST_F(Cli, JsonSurvivesBytesThatAreNotUtf8) {
    const std::string a = Nueva("863");
    ASSERT_EQ(Modelo("set " + a + " \"$(printf 'P1-11=MU\\321OZ')\"").estado, 0);
    auto s = Modelo("show " + a + " --json");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(nlohmann::json::accept(s.out));
}

TEST_F(Cli, BadInputIsOneClearLineAndChangesNothing) {
    const std::string a = Nueva("863");
    ASSERT_EQ(Modelo("set " + a + " P1-10=ANTES").estado, 0);
    const std::string antes = Estado();
    for (const std::string& args : std::vector<std::string>{
             "new 999", "new 863 --month 13", "new 863 --month x1", "new 863 --year 24",
             "set " + a + " P3-1=X", "set " + a + " P1-x=X", "set " + a + " P1-10",
             "set " + a + " P1-10=NUEVO P1-=X", "set 8639999999999 P1-10=X", "show 8639999999999",
             "show " + a + " --page 3", "frobnicate"}) {
        auto s = Modelo(args);
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_FALSE(s.err.empty()) << args;
        EXPECT_EQ(s.err.find("terminate"), std::string::npos) << args;
    }
    EXPECT_EQ(Estado(), antes);
}

TEST_F(Cli, AFileThatIsNotADatabaseIsRefusedUntouched) {
    SOLO_EN_FICHERO("a file that is not a database");
    const std::string falso = tmp / "fotos.db";
    apoyo::Escribir(falso, std::string(2048, '\x7f'));
    auto s = apoyo::Ejecutar(std::string(MODELO_BIN_DIR) + "/modelo --db '" + falso + "' list");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("no es una base de datos"), std::string::npos) << s.err;
    EXPECT_EQ(apoyo::Leer(falso), std::string(2048, '\x7f'));
}

TEST_F(Cli, APluginFolderWithoutPluginsIsRefused) {
    auto s = Modelo("--plugins '" + tmp.Ruta().string() + "' forms");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("No hay ningún módulo"), std::string::npos) << s.err;
}

TEST_F(Cli, DefaultDatabaseGoesToTheUsersDataFolder) {
    SOLO_EN_FICHERO("the default database is a file");
    auto s = apoyo::Ejecutar("XDG_DATA_HOME='" + tmp.Ruta().string() + "' " +
                             std::string(MODELO_BIN_DIR) + "/modelo new 863");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(std::filesystem::exists(tmp.Ruta() / "modelo" / "modelo.db"));
}

TEST_F(Cli, AnEmptyDatabaseOrPluginNameIsRefusedNotTakenAsTheDefault) {
    for (const char* args : {"--db '' list", "--plugins '' forms"}) {
        auto s = apoyo::Ejecutar("XDG_DATA_HOME='" + tmp.Ruta().string() + "' " +
                                 std::string(MODELO_BIN_DIR) + "/modelo " + args);
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_NE(s.err.find("no puede ser un nombre vacío"), std::string::npos) << s.err;
    }
    EXPECT_FALSE(std::filesystem::exists(tmp.Ruta() / "modelo"));
}

TEST_F(Cli, AHugeArgumentIsCutInTheRefusalLine) {
    const std::string a = Nueva("863");
    const std::string enorme(100000, 'x');
    for (const std::string& args :
         std::vector<std::string>{"show 863" + enorme, "set " + a + " P1-10" + enorme,
                                  "new 863 --month " + enorme, "quota 863 " + enorme + " 1/1/2024",
                                  "show " + a + " " + enorme, "--db " + enorme + " list"}) {
        auto s = Modelo(args);
        EXPECT_EQ(s.estado, 2) << args.substr(0, 40);
        EXPECT_FALSE(s.err.empty()) << args.substr(0, 40);
        EXPECT_LT(s.err.size(), 600u) << s.err.substr(0, 300);
    }
    // Nor does a control character reach the terminal.
    auto s = Modelo("show \"$(printf '86\\033[2J')\"");
    EXPECT_EQ(s.estado, 2);
    EXPECT_EQ(s.err.find('\033'), std::string::npos) << s.err;
}

TEST_F(Cli, TheWindowWithoutADisplaySaysSoInOneLine) {
    auto s = apoyo::Ejecutar("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                             std::string(MODELO_BIN_DIR) + "/modelo --db '" + db + "' gui");
    EXPECT_EQ(s.estado, 2);
    EXPECT_EQ(std::count(s.err.begin(), s.err.end(), '\n'), 1) << s.err;
    EXPECT_NE(s.err.find("no hay pantalla"), std::string::npos) << s.err;
}
