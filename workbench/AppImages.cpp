#include "AppImages.h"

#include <QFile>
#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace AppImages {

namespace {

struct TPlaceholder
{
    QColor colour;
    QString glyph;
};

// Colour and letter of each painted stand-in, by picture name.
const QHash<QString, TPlaceholder> &Placeholders()
{
    static const QHash<QString, TPlaceholder> table = {
        {"tree-root", {QColor(0, 120, 215), "L"}},     {"tree-lang", {QColor(46, 139, 87), "A"}},
        {"tree-values", {QColor(218, 165, 32), "S"}},  {"tree-menu", {QColor(138, 43, 226), "M"}},
        {"tree-file", {QColor(105, 105, 105), "F"}},   {"translate", {QColor(66, 133, 244), "G"}},
        {"state-none", {QColor(0, 0, 0, 0), ""}},      {"state-donttranslate", {QColor(160, 160, 160), "x"}},
        {"state-final", {QColor(34, 139, 34), "\u2713"}}, {"state-needbetter", {QColor(255, 140, 0), "!"}},
        {"state-translated", {QColor(30, 144, 255), "T"}}, {"open", {QColor(218, 165, 32), "O"}},
        {"save", {QColor(0, 102, 204), "S"}},          {"saveall", {QColor(0, 70, 160), "A"}},
        {"expand", {QColor(80, 80, 80), "+"}},         {"collapse", {QColor(80, 80, 80), "-"}},
        {"undo", {QColor(120, 72, 0), "\u21b6"}},      {"redo", {QColor(120, 72, 0), "\u21b7"}},
        {"home", {QColor(0, 120, 215), "H"}},          {"back", {QColor(0, 120, 215), "<"}},
        {"forward", {QColor(0, 120, 215), ">"}},       {"filter", {QColor(90, 90, 90), "\u25bc"}},
        {"filter-disabled", {QColor(200, 200, 200), "\u25bc"}},
    };
    return table;
}

QPixmap PaintPlaceholder(const QString &name, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    const TPlaceholder p = Placeholders().value(name, {QColor(128, 128, 128), "?"});
    if (p.colour.alpha() == 0)
        return pm;
    QPainter painter(&pm);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(p.colour);
    painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    QFont f = painter.font();
    f.setBold(true);
    f.setPixelSize(size * 2 / 3);
    painter.setFont(f);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, p.glyph);
    return pm;
}

QList<QIcon> Icons(const QStringList &names)
{
    QList<QIcon> icons;
    for (const QString &n : names)
        icons.append(Icon(n));
    return icons;
}

} // namespace

QIcon Icon(const QString &name)
{
    const QString path = QStringLiteral(":/icons/%1.png").arg(name);
    if (QFile::exists(path))
        return QIcon(path);
    QIcon icon;
    icon.addPixmap(PaintPlaceholder(name, 16));
    icon.addPixmap(PaintPlaceholder(name, 24));
    icon.addPixmap(PaintPlaceholder(name, 32));
    return icon;
}

QPixmap SplashPicture()
{
    const QString path = QStringLiteral(":/images/splash.png");
    if (QFile::exists(path)) {
        QPixmap pm(path);
        if (!pm.isNull())
            return pm;
    }
    QPixmap pm(600, 340);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 600, 340);
    g.setColorAt(0, QColor(245, 250, 252));
    g.setColorAt(1, QColor(200, 232, 240));
    p.fillRect(pm.rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(63, 173, 192));
    p.drawEllipse(QPointF(150, 170), 110, 110);
    p.setBrush(QColor(255, 255, 255, 200));
    QPainterPath speech;
    speech.addRoundedRect(QRectF(85, 120, 130, 80), 18, 18);
    p.drawPath(speech);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(63, 173, 192));
    p.drawText(QRectF(85, 120, 130, 80), Qt::AlignCenter, QStringLiteral("A\u2192\u00c4"));
    f.setPixelSize(34);
    p.setFont(f);
    p.setPen(QColor(40, 60, 70));
    p.drawText(QPointF(312, 120), QStringLiteral("Vorel Glossmill"));
    f.setPixelSize(14);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QPointF(314, 190), QStringLiteral("Localization of Android applications"));
    return pm;
}

QList<QIcon> TreeAndSmallButs()
{
    return Icons({"tree-root", "tree-lang", "tree-values", "tree-menu", "tree-file", "expand", "collapse",
                  "translate"});
}

QList<QIcon> StateImages()
{
    return Icons({"state-none", "state-donttranslate", "state-final", "state-none", "state-needbetter",
                  "state-translated"});
}

QList<QIcon> ListSplitButton()
{
    return Icons({"filter", "filter-disabled", "state-translated", "state-needbetter", "state-final",
                  "state-donttranslate"});
}

} // namespace AppImages
