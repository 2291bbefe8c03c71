#pragma once
// Pictures drawn "transparent": every pixel of exactly the colour of the
// picture's bottom-left pixel is left undrawn.

#include <QImage>
#include <QPixmap>
#include <QString>

// Loads a picture from a file or resource; throws EInvalidGraphic when it cannot.
QImage LoadPicture(const QString& path);
QImage TransparentByBottomLeft(const QImage& picture);
