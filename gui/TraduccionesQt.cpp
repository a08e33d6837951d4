#include "TraduccionesQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

std::unique_ptr<QTranslator> InstalarCastellanoQt(QString* motivo) {
    const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    QLocale::setDefault(espanol);
    const QString carpetas[] = {
        QCoreApplication::applicationDirPath() + "/translations",
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
    };
    auto traductor = std::make_unique<QTranslator>();
    for (const QString& carpeta : carpetas)
        if (traductor->load(espanol, "qtbase", "_", carpeta) &&
            QCoreApplication::installTranslator(traductor.get()))
            return traductor;
    if (motivo)
        *motivo = QString("no se encuentra la traducción de Qt qtbase_es.qm (en %1 ni en %2)")
                      .arg(carpetas[0], carpetas[1]);
    return nullptr;
}
