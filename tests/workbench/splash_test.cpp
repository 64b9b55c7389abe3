#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QHash>
#include <QImage>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

#include "APPsplash.h"

namespace {

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double Luminance(QRgb c)
{
    auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}
double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class SplashTest : public ::testing::Test
{
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    TFormSplash Splash;
};

TEST_F(SplashTest, VersionReadsWithAFullStopWhateverTheDecimalSeparator)
{
    for (QLocale::Language lang : {QLocale::English, QLocale::German, QLocale::French}) {
        QLocale::setDefault(QLocale(lang));
        Splash.DoSplash(false);
        EXPECT_EQ(Splash.LBVer->text(), QStringLiteral("Ver 1.00")) << QLocale(lang).name().toStdString();
    }
}

TEST_F(SplashTest, StartUpSplashCannotBeClosedByTheUser)
{
    Splash.DoSplash(false);
    ASSERT_TRUE(Splash.isVisible());
    EXPECT_FALSE(Splash.SBClose->isVisible());
    QTest::keyRelease(&Splash, Qt::Key_Escape);
    QTest::mouseClick(Splash.Image1, Qt::LeftButton);
    EXPECT_TRUE(Splash.isVisible());
    Splash.close();
}

TEST_F(SplashTest, AboutBoxClosesByEscClickOrCloseAnyNumberOfTimes)
{
    struct TCase
    {
        const char *name;
        std::function<void(TFormSplash &)> close;
    } cases[] = {
        {"Esc", [](TFormSplash &s) { QTest::keyRelease(&s, Qt::Key_Escape); }},
        {"Esc on the Close button", [](TFormSplash &s) { QTest::keyRelease(s.SBClose, Qt::Key_Escape); }},
        {"click on the picture", [](TFormSplash &s) { QTest::mouseClick(s.Image1, Qt::LeftButton); }},
        {"Close button", [](TFormSplash &s) { s.SBClose->click(); }},
        {"close timer", [](TFormSplash &s) { s.TimerCloseTimer(); }},
    };
    for (const TCase &c : cases) {
        Splash.DoSplash(true);
        ASSERT_TRUE(Splash.isVisible()) << c.name;
        EXPECT_TRUE(Splash.SBClose->isVisible()) << c.name;
        c.close(Splash);
        EXPECT_FALSE(Splash.isVisible()) << c.name;
    }
    EXPECT_FALSE(Splash.TimerClose->isActive());
}

TEST_F(SplashTest, OtherKeysDoNotCloseTheAboutBox)
{
    Splash.DoSplash(true);
    QTest::keyRelease(&Splash, Qt::Key_Return);
    EXPECT_TRUE(Splash.isVisible());
    Splash.close();
}

TEST_F(SplashTest, LayoutAndTimer)
{
    EXPECT_EQ(Splash.size(), QSize(602, 342));
    EXPECT_EQ(Splash.Image1->geometry(), QRect(1, 1, 600, 340));
    EXPECT_EQ(Splash.Image1->pixmap().size(), QSize(600, 340));
    EXPECT_EQ(Splash.SBClose->geometry(), QRect(559, 322, 41, 18));
    EXPECT_EQ(Splash.SBClose->text(), QStringLiteral("Close"));
    EXPECT_EQ(Splash.TimerClose->interval(), 10000);
    EXPECT_FALSE(Splash.TimerClose->isActive());
    EXPECT_FALSE(Splash.testAttribute(Qt::WA_QuitOnClose));
    Splash.RunAutoclose();
    EXPECT_TRUE(Splash.TimerClose->isActive());
}

TEST_F(SplashTest, TheCloseButtonsTextStandsOutFromWhatLiesBehindIt)
{
    Splash.DoSplash(true);
    ASSERT_TRUE(Splash.SBClose->isVisible());
    // As drawn in the window, over the picture: the commonest colour is the ground, the text the colour that stands
    // out most from it.
    const QImage shown = Splash.grab(Splash.SBClose->geometry()).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            ++counts[shown.pixel(x, y) | 0xff000000u];
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, Contrast(it.key(), ground));
    EXPECT_GE(best, 4.5) << "ground " << QColor(ground).name().toStdString();
    Splash.close();
}

} // namespace
