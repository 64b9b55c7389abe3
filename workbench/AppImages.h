#pragma once
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

// The program's pictures. Each is looked up as ":/icons/<name>.png" (":/images/<name>.png" for pictures) in
// the resources; a picture that is not there yet is painted here, so every name always gives a picture.
namespace AppImages {

QIcon Icon(const QString &name);

// The 600 x 340 splash picture.
QPixmap SplashPicture();

// Project tree images: 0 root, 1 language, 2 values group, 3 menu group, 4 resource file, 5 to 7 small buttons.
QList<QIcon> TreeAndSmallButs();

// Item state images by GetStateIconIDX: 0 no mark, 1 do not translate, 2 final, 3 unused, 4 need better,
// 5 translated.
QList<QIcon> StateImages();

// Images of the filter and mark buttons: 0 normal, 1 disabled, 2 to 5 the filtered states.
QList<QIcon> ListSplitButton();

} // namespace AppImages
