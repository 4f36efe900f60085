#include "Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QResource>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <mutex>
#include <optional>

// Q_INIT_RESOURCE must be used outside any namespace. The icons live in a static library,
// whose resource initializers the linker would otherwise drop.
static void InitIconResources()
{
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(drawn_icons);
}

namespace chokusho {

namespace {

/** Where the build put its picture of icon `name` at `side` pixels. */
QString DrawnPath(const QString& name, int side)
{
    return QStringLiteral(":/icons/drawn/%1-%2.rgba").arg(name).arg(side);
}

/**
 * The picture the build drew of icon `name` at `side` pixels; null when it drew none at that side.
 * The resource holds its pixels uncompressed, so the picture is made from them without decoding.
 */
QPixmap DrawnPicture(const QString& name, int side)
{
    const QResource resource(DrawnPath(name, side));
    const qsizetype bytesPerLine = static_cast<qsizetype>(side) * 4;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() != bytesPerLine * side)
        return QPixmap();
    const QImage pixels(resource.data(), side, side, bytesPerLine, QImage::Format_RGBA8888_Premultiplied);
    return QPixmap::fromImage(pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

/** The sides at which the build drew icon `name`, smallest first. */
QList<int> DrawnSides(const QString& name)
{
    // Every side at which the build drew any icon.
    constexpr int kSides[] = {CHOKUSHO_DRAWN_ICON_SIDES};
    QList<int> sides;
    for (const int side : kSides) {
        if (QResource(DrawnPath(name, side)).isValid())
            sides << side;
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

/**
 * One of the program's square icons: the pictures the build drew from its SVG at the sides the
 * windows ask for, and the SVG itself through Qt SVG's icon engine at any other side. Modes other
 * than Normal are made from the Normal picture by the style, as Qt SVG's engine makes them.
 */
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(QString name) : name_(std::move(name)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = std::min(size.width(), size.height());
        const QString key = QStringLiteral("chokusho-icon-%1-%2-%3").arg(name_).arg(side).arg(static_cast<int>(mode));
        QPixmap picture;
        if (QPixmapCache::find(key, &picture))
            return picture;
        picture = DrawnPicture(name_, side);
        if (picture.isNull())
            return scalable().pixmap(size, mode, state);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, picture, &option);
            if (!generated.isNull())
                picture = generated;
        }
        QPixmapCache::insert(key, picture);
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device() != nullptr)
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }

    /** The sides drawn beforehand: a window system takes the program's icon in these. */
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : DrawnSides(name_))
            sizes << QSize(side, side);
        return sizes;
    }

    QString key() const override { return QStringLiteral("chokusho-drawn"); }
    QIconEngine* clone() const override { return new DrawnIconEngine(name_); }

private:
    /** The SVG through Qt SVG's engine, loaded the first time a side was not drawn beforehand. */
    QIcon& scalable()
    {
        if (!svg_)
            svg_ = QIcon(QStringLiteral(":/icons/%1.svg").arg(name_));
        return *svg_;
    }

    QString name_;
    std::optional<QIcon> svg_;
};

}  // namespace

QIcon UiIcon(const QString& fileName)
{
    static std::once_flag once;
    std::call_once(once, InitIconResources);
    QString name = fileName;
    if (name.endsWith(QStringLiteral(".svg")))
        name.chop(4);
    return QIcon(new DrawnIconEngine(name));
}

QIcon ProgramIcon() { return UiIcon(QStringLiteral("chokusho.svg")); }

}  // namespace chokusho
