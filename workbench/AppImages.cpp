#include "AppImages.h"

#include "GlossmillResources.h"

namespace AppImages {

namespace {

QList<QIcon> Numbered(const QString &prefix, int count)
{
    QList<QIcon> icons;
    for (int i = 0; i < count; ++i)
        icons.append(Icon(prefix + QString::number(i)));
    return icons;
}

} // namespace

QIcon Icon(const QString &name)
{
    InitGlossmillResources();
    return QIcon(QStringLiteral(":/images/%1.png").arg(name));
}

QPixmap SplashPicture()
{
    InitGlossmillResources();
    return QPixmap(QStringLiteral(":/splash.png"));
}

QList<QIcon> TreeAndSmallButs()
{
    QList<QIcon> icons = Numbered(QStringLiteral("tree"), 5);
    icons << QIcon() << QIcon() << Icon(QStringLiteral("translate"));
    return icons;
}

QList<QIcon> StateImages()
{
    return Numbered(QStringLiteral("state"), 6);
}

QList<QIcon> ListSplitButton()
{
    return Numbered(QStringLiteral("split"), 6);
}

QIcon ListSplitButtonIcon(int index)
{
    InitGlossmillResources();
    const QString image = QStringLiteral(":/images/split%1.png");
    QIcon icon;
    for (QIcon::State state : {QIcon::Off, QIcon::On}) {
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Selected})
            icon.addFile(image.arg(index), QSize(), mode, state);
        icon.addFile(image.arg(1), QSize(), QIcon::Disabled, state);
    }
    return icon;
}

} // namespace AppImages
