#pragma once

#include <QImage>
#include <QString>

// Pictures of image objects: where their files are, reading them, turning them, and the
// placeholder a field-code image shows in the editor.
namespace design {

// The picture file of a reference: program folder + "images/" + name, else the examples folder +
// "images/" + name, each found without regard to letter case. Empty when neither exists.
QString FindPictureFile(const QString& reference, const QString& programFolder,
                        const QString& examplesFolder);

// Reads a picture file of any format the image readers know; raises platform::EInOutError when
// the file cannot be read or its format is not recognised.
QImage LoadPicture(const QString& path);

// The picture turned counter-clockwise by `angle` degrees, the uncovered corners white. An angle
// of 0 or below leaves it as it is.
QImage RotatePicture(const QImage& picture, int angle);

// Draws the placeholder of a field-code image over the whole picture: a crossed box on the
// tooltip colour with the code centred and word-wrapped in it.
void DrawFieldPlaceholder(QImage& picture, const QString& code);

} // namespace design
