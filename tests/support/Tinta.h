// Where a drawing left ink on a white sheet, for tests that check place rather than pixels.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace apoyo {

// The smallest rectangle holding every pixel darker than `umbral` (0 black .. 255 white); an
// empty rectangle when the sheet is blank.
inline QRect Tinta(const QImage& imagen, int umbral = 200) {
    QRect r;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            if (qGray(imagen.pixel(x, y)) < umbral)
                r |= QRect(x, y, 1, 1);
    return r;
}

// A sheet of the given size, white where nothing was drawn.
inline QImage Hoja(int ancho, int alto, int dpiX = 96, int dpiY = 96) {
    QImage imagen(ancho, alto, QImage::Format_RGB32);
    imagen.fill(Qt::black); // a device that does not clear its sheet shows it at once
    imagen.setDotsPerMeterX(int(dpiX / 0.0254 + 0.5));
    imagen.setDotsPerMeterY(int(dpiY / 0.0254 + 0.5));
    return imagen;
}

} // namespace apoyo
