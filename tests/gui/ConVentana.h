// The main window on a database of its own, its messages answered by recorded services: what
// every test of the window starts from.
#pragma once

#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "VentanaPrincipal.h"
#include "support/Apoyo.h"
#include "support/Motor.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

template <class Servicios = CServiciosGrabados> class ConVentana : public ::testing::Test {
protected:
    apoyo::CarpetaTemporal tmp;
    std::string ruta = apoyo::BaseNueva(tmp.Ruta(), "modelo.db");
    std::unique_ptr<CHost> host;
    Servicios ui;
    std::unique_ptr<VentanaPrincipal> ventana;
    bool activa = false; // whether keys reach the window

    void SetUp() override {
        host = std::make_unique<CHost>(CString(ruta), MODELO_BIN_DIR);
        AfxFijarServicios(&ui);
        ventana = std::make_unique<VentanaPrincipal>(*host);
        ventana->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(ventana.get()));
        // Keys and focus reach only the active window, as on a desktop. A bare X server has
        // no window manager to activate it; the screenshot needs none.
        QApplication::setActiveWindow(ventana.get());
        activa = QTest::qWaitForWindowActive(ventana.get(), 1000);
    }
    void TearDown() override {
        ventana.reset();
        AfxFijarServicios(nullptr);
        Reloj::Fijar({});
    }
};
