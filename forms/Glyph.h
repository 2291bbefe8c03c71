#pragma once
// Pictures drawn "transparent": every pixel of exactly the colour of the
// picture's bottom-left pixel is left undrawn.

#include <QImage>
#include <QPixmap>
#include <QString>

// Loads a picture from a file or resource, in the format its name ends with;
// a null image when it cannot.
QImage ReadPicture(const QString& path);
// The same, but throws EInvalidGraphic when it cannot.
QImage LoadPicture(const QString& path);
// Whether the picture is there and starts as its format does, without reading it.
bool PictureReadable(const QString& path);
// Every pixel of the colour `key` left undrawn.
QImage TransparentColour(const QImage& picture, QRgb key);
QImage TransparentByBottomLeft(const QImage& picture);
