// A picture a drawn button shows: a bitmap, or an icon that is drawn onto a
// square of the mask colour first. A null picture is "nothing". Value type.
#pragma once

#include <QImage>
#include <QMetaType>

struct ButtonPicture {
    enum Type { None = 0, Bitmap = 1, Icon = 3 };

    ButtonPicture() = default;
    ButtonPicture(const QImage &img, Type t = Bitmap) : image(img), type(img.isNull() ? None : t) {}

    bool isNull() const { return type == None || image.isNull(); }
    int width() const { return isNull() ? 0 : image.width(); }
    int height() const { return isNull() ? 0 : image.height(); }
    // A bitmap with its own alpha channel is blended by that alpha.
    bool is32Bit() const { return type == Bitmap && image.hasAlphaChannel(); }

    bool operator==(const ButtonPicture &o) const { return type == o.type && image == o.image; }

    QImage image;
    Type type = None;
};

Q_DECLARE_METATYPE(ButtonPicture)
