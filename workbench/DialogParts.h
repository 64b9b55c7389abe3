#pragma once
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QStringList>

#include "TTranslateItem.h"

class QButtonGroup;
class QDialog;
class QPushButton;
class QWidget;

// Window settings the program's small dialogs share: fixed client size, dialog border, Tahoma 11 px.
namespace DialogParts {

void SetupDialogWindow(QDialog *dialog, const QString &objectName, const QString &caption, int clientWidth,
                       int clientHeight);

// An OK button that accepts `dialog`, or a Cancel button that rejects it, with the standard picture.
QPushButton *MakeOkButton(QDialog *dialog, const QString &objectName, const QRect &geometry);
QPushButton *MakeCancelButton(QDialog *dialog, const QString &objectName, const QRect &geometry);

} // namespace DialogParts

// A check box or radio button whose caption wraps within the button's width; text() stays the caption.
template <class TButton>
class TWordWrapButton : public TButton
{
public:
    TWordWrapButton(const QString &text, QWidget *parent) : TButton(text, parent) {}

protected:
    void paintEvent(QPaintEvent *) override;
    bool hitButton(const QPoint &pos) const override { return this->rect().contains(pos); }
};

using TWordWrapCheckBox = TWordWrapButton<QCheckBox>;
using TWordWrapRadioButton = TWordWrapButton<QRadioButton>;

// A framed group of radio buttons with one chosen item, read and set by index (-1: none chosen).
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, const QRect &geometry, QWidget *parent);

    int ItemIndex() const;
    void setItemIndex(int index);
    int ItemCount() const;
    QString ItemCaption(int index) const;

private:
    QButtonGroup *FButtons;
};

// The untranslated-items option that both add dialogs offer: how the items of a cloned file start.
namespace TransOptions {

struct TChoice
{
    tTransState State;
    bool Clear; // empty every translation before the state is stored
};

// The group " Untranslated Items Options " with its two items, item 0 chosen.
TRadioGroup *MakeGroup(QWidget *parent, const QRect &geometry);

// Item 1 keeps the default texts as needs-better; item 0 and anything else empty them as do-not-translate.
TChoice ChoiceOf(int itemIndex);

} // namespace TransOptions
