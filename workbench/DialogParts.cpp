#include "DialogParts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <type_traits>

namespace DialogParts {

void SetupDialogWindow(QDialog *dialog, const QString &objectName, const QString &caption, int clientWidth,
                       int clientHeight)
{
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(caption);
    dialog->setModal(true);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    QFont font("Tahoma");
    font.setPixelSize(11);
    dialog->setFont(font);
    dialog->setFixedSize(clientWidth, clientHeight);
}

namespace {

QPushButton *MakeButton(QDialog *dialog, const QString &objectName, const QString &caption,
                        QStyle::StandardPixmap picture, const QRect &geometry)
{
    auto *button = new QPushButton(dialog->style()->standardIcon(picture), caption, dialog);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    return button;
}

} // namespace

QPushButton *MakeOkButton(QDialog *dialog, const QString &objectName, const QRect &geometry)
{
    QPushButton *button = MakeButton(dialog, objectName, "OK", QStyle::SP_DialogOkButton, geometry);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

QPushButton *MakeCancelButton(QDialog *dialog, const QString &objectName, const QRect &geometry)
{
    QPushButton *button = MakeButton(dialog, objectName, "Cancel", QStyle::SP_DialogCancelButton, geometry);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

} // namespace DialogParts

template <class TButton>
void TWordWrapButton<TButton>::paintEvent(QPaintEvent *)
{
    constexpr bool isRadio = std::is_same_v<TButton, QRadioButton>;
    QStylePainter painter(this);
    QStyleOptionButton option;
    this->initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(isRadio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, option);
    const QRect textRect = this->style()->subElementRect(
        isRadio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, this);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption);
}

template class TWordWrapButton<QCheckBox>;
template class TWordWrapButton<QRadioButton>;

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, const QRect &geometry, QWidget *parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this))
{
    setGeometry(geometry);
    // Below the frame's caption, the items share the height evenly.
    const int top = 18, left = 8;
    const int itemHeight = items.isEmpty() ? 0 : (geometry.height() - top - 4) / int(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new TWordWrapRadioButton(items[i], this);
        radio->setGeometry(left, top + i * itemHeight, geometry.width() - 2 * left, itemHeight);
        FButtons->addButton(radio, i);
    }
}

int TRadioGroup::ItemIndex() const
{
    return FButtons->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = FButtons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    if (QAbstractButton *checked = FButtons->checkedButton()) {
        FButtons->setExclusive(false);
        checked->setChecked(false);
        FButtons->setExclusive(true);
    }
}

int TRadioGroup::ItemCount() const
{
    return int(FButtons->buttons().size());
}

QString TRadioGroup::ItemCaption(int index) const
{
    QAbstractButton *button = FButtons->button(index);
    return button ? button->text() : QString();
}

namespace TransOptions {

TRadioGroup *MakeGroup(QWidget *parent, const QRect &geometry)
{
    auto *group = new TRadioGroup(
        " Untranslated Items Options ",
        {"Leave item text clear and mark as \"Do Not Translate\" (recommended)",
         "Copy item text from default resource file and mark as \"Need Beter Translation\""},
        geometry, parent);
    group->setObjectName("RGTransOptions");
    group->setItemIndex(0);
    return group;
}

TChoice ChoiceOf(int itemIndex)
{
    if (itemIndex == 1)
        return {tsNeedBetter, false};
    return {tsDontTranslate, true};
}

} // namespace TransOptions
