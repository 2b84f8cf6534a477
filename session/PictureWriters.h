#pragma once

// The bytes of picture files, and their atomic writing.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

// The kinds of picture file the graph is saved as.
enum class TPictureType { Bmp, Gif, Jpeg, Png, Emf, Wmf };

// The type of a lower-case extension with its dot (".png"); none for any
// other extension.
std::optional<TPictureType> PictureTypeOfExtension(const QString& extension);

// 24 bits per pixel.
QByteArray EncodeBmp(const QImage& image);
// With the picture's own colours when it has at most 256, else 256
// colours chosen for it (median cut, no dithering).
QByteArray EncodeGif(const QImage& image);
// At quality 100.
QByteArray EncodeJpeg(const QImage& image);
QByteArray EncodePng(const QImage& image);

// Writes the bytes through a temporary file that takes the name only when
// it is whole, so that a failure leaves an older file as it was. An empty
// result when written, else what to tell the user.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);
