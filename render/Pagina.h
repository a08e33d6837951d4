// A page view drawn as a person sees it on screen: the page image, every visible control with
// what it shows, the disabled ones greyed, the two codes. Qt's drawing, for images only; the
// framework library and the plug-ins never see Qt.
#pragma once

#include "Modelo/windows/GuiaView.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <string>

// A bitmap of the resource chain; null when no module has it.
QImage BitmapRecurso(UINT id);
// A rendered code as a grayscale image, one pixel per pixel; a null image when its pixels do not
// fill its size.
QImage ImagenQt(const stImagenCodigo& imagen);
// A platform font as Qt draws it: its face mapped to the ones every Linux machine of ours has
// (DejaVu Sans, DejaVu Sans Mono for the Courier faces), its height in pixels, scaled.
QFont FuenteQt(const LOGFONT& lf, double escala = 1.0);
// The font no larger than `fuente` in which `texto` fits `ancho` pixels on one line, never
// below `minimo` pixels: what a screen shows of a value too long for its box before it cuts it.
QFont FuenteQueCabe(QFont fuente, const QString& texto, int ancho, int minimo);
// The same for a label wrapped at words inside `caja`.
QFont FuenteQueCabeEnvuelta(QFont fuente, const QString& texto, QSize caja, int minimo);
// A box text, UTF-8, Latin-1 or both, as Qt's text; and Qt's text back as UTF-8 bytes.
QString TextoQt(const CString& t);
CString TextoModelo(const QString& t);

// Qt draws text only inside an application object; a program that has none gets one that
// needs no display.
void AsegurarAplicacion();

// The view at its page's size, 770 x 1125 pixels. A null image when the page image is not in
// the resource chain.
QImage DibujarVista(const CGuiaView& vista);

// The page's background image, as the plug-in ships it.
QImage FondoDeVista(const CGuiaView& vista);

// Writes the image as PNG through the host's atomic file writer: a failed write keeps the file
// that was there. False with the reason, one Spanish line, in `error`.
bool GuardarPNG(const QImage& imagen, const std::string& ruta, std::string& error);
