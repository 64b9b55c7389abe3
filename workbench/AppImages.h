#pragma once
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

// The program's pictures, from the resources (resources/README.md lists them).
namespace AppImages {

// ":/images/<name>.png".
QIcon Icon(const QString &name);

// The 600 x 340 splash picture.
QPixmap SplashPicture();

// Project tree images: 0 root, 1 language, 2 values group, 3 menu group, 4 resource file, 7 the Translate button.
QList<QIcon> TreeAndSmallButs();

// Item state images by GetStateIconIDX: 0 no mark, 1 do not translate, 2 final, 3 unused, 4 need better,
// 5 translated.
QList<QIcon> StateImages();

// Images of the filter and mark buttons: 0 normal, 1 disabled, 2 to 5 the filtered states.
QList<QIcon> ListSplitButton();
// Image `index` of ListSplitButton, with image 1 for the disabled button.
QIcon ListSplitButtonIcon(int index);

} // namespace AppImages
