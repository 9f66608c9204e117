#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdio>

namespace corvane::testing {

// Renders `widget` as it stands to `folder`/`name`.png and, at twice the pixel density,
// `name`@2x.png: the pictures of the product kept in docs/. False (and a line on stderr) when a
// file cannot be written.
inline bool SaveWidgetPictures(QWidget &widget, const QString &folder, const QString &name)
{
    bool ok = true;
    for (int scale : { 1, 2 }) {
        QImage image(widget.size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        widget.render(&image);
        const QString file = folder + '/' + name + (scale == 2 ? "@2x.png" : ".png");
        if (!image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ok = false;
        }
    }
    return ok;
}

} // namespace corvane::testing
