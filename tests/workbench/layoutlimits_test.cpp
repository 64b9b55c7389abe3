#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QtMath>

#include "Glossmill_EditDialog.h"
#include "Glossmill_MainForm.h"
#include "WorkbenchTestHome.h"

// Limits of the window layout that a user meets: the bottom pane's least height, the disabled image of the filter
// and mark buttons, and the contrast of the edit window's default text.
namespace {

// Drags the bar `handle` by `dy` pixels, as a mouse does: press, move with the button held, release.
void DragBar(QWidget *handle, int dy)
{
    // The bar moves under the mouse, so the points are fixed on the screen before it does.
    const QPoint from = handle->mapToGlobal(handle->rect().center());
    const QPoint to = from + QPoint(0, dy);
    auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, handle->mapFromGlobal(at), at, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(handle, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, from + QPoint(0, dy / 2), Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TEST(LayoutLimits, BottomPaneIsNeverDraggedLowerThan250)
{
    TTestHome home;
    TGlossmillMainForm form;
    form.resize(1200, 900);
    form.show();
    QWidget *bar = form.Splitter2->handle(1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(form.Panel2->height(), 193);

    struct Case
    {
        const char *what;
        int dy;
        int least;
        int most;
    } cases[] = {
        {"a small drag down from the first height", 10, 250, 250},
        {"far down", 400, 250, 250},
        {"up", -120, 369, 371},
        {"down again, past the limit", 300, 250, 250},
    };
    for (const Case &c : cases) {
        DragBar(bar, c.dy);
        EXPECT_GE(form.Panel2->height(), c.least) << c.what;
        EXPECT_LE(form.Panel2->height(), c.most) << c.what;
    }
}

QImage Picture(const QIcon &icon, QIcon::Mode mode)
{
    return icon.pixmap(QSize(28, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage SplitImage(int index)
{
    return QImage(QStringLiteral(":/images/split%1.png").arg(index)).convertToFormat(QImage::Format_ARGB32);
}

TEST(LayoutLimits, FilterAndMarkButtonsShowImage1WhenDisabled)
{
    TTestHome home;
    TGlossmillMainForm form;
    ASSERT_FALSE(SplitImage(1).isNull());
    for (QPushButton *button : {form.BFilter, form.BMarkAs}) {
        const std::string name = button->objectName().toStdString();
        EXPECT_TRUE(Picture(button->icon(), QIcon::Normal) == SplitImage(0)) << name << ": not image 0 when enabled";
        EXPECT_TRUE(Picture(button->icon(), QIcon::Disabled) == SplitImage(1)) << name << ": not image 1 when disabled";
    }
}

double Luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : qPow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(LayoutLimits, EditWindowDefaultTextReadsAtLeast4p5To1AndStaysGrey)
{
    TFEditTranslation dialog;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QPalette p = dialog.RESource->palette();
        const QColor text = p.color(group, QPalette::Text);
        EXPECT_GE(Contrast(text, p.color(group, QPalette::Base)), 4.5) << text.name().toStdString();
        EXPECT_NE(text, dialog.RE->palette().color(group, QPalette::Text)) << "told apart from the translation";
    }
}

} // namespace
