#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QWebEngineView>

#include "FrameWebBrowsing.h"
#include "Glossmill_MainForm.h"
#include "WorkbenchTestHome.h"

namespace {

TEST(WebBrowsingFrame, HomeFollowsTheHomePageBackAndForwardStartDisabled)
{
    TFWebBrowsing frame(nullptr);
    EXPECT_FALSE(frame.SBNAvBack->isEnabled());
    EXPECT_FALSE(frame.SBNAvPrev->isEnabled());
    EXPECT_FALSE(frame.SBNavHome->isEnabled());
    EXPECT_EQ(frame.EDURL->text(), QStringLiteral("http://www"));
    for (const char *blank : {"", "   ", "\t \n"}) {
        frame.HomePage = QString::fromLatin1(blank);
        frame.SetControls();
        EXPECT_FALSE(frame.SBNavHome->isEnabled()) << '"' << blank << '"';
    }
    frame.HomePage = TFWebBrowsing::HelpPageAddress();
    frame.SetControls();
    EXPECT_TRUE(frame.SBNavHome->isEnabled());
}

TEST(WebBrowsingFrame, CommandStateReportsSetTheirFlagOnly)
{
    struct TCase
    {
        int command;
        bool enable;
        bool back;
        bool forward;
    } cases[] = {
        {2, true, true, false}, {1, true, true, true}, {7, false, true, true},
        {2, false, false, true}, {1, false, false, false}, {0, true, false, false},
    };
    TFWebBrowsing frame(nullptr);
    for (const TCase &c : cases) {
        frame.WBBCommandStateChange(c.command, c.enable);
        EXPECT_EQ(frame.btnCanBack, c.back) << c.command << c.enable;
        EXPECT_EQ(frame.btnCanForward, c.forward) << c.command << c.enable;
        EXPECT_EQ(frame.SBNAvBack->isEnabled(), c.back);
        EXPECT_EQ(frame.SBNAvPrev->isEnabled(), c.forward);
    }
}

TEST(WebBrowsingFrame, StatusTextGoesToTheStatusBar)
{
    TFWebBrowsing frame(nullptr);
    frame.WBBStatusTextChange(QStringLiteral("http://example.org/x"));
    EXPECT_EQ(frame.SB->currentMessage(), QStringLiteral("http://example.org/x"));
}

TEST(WebBrowsingFrame, EnterNavigatesToTheTypedTextUnchanged)
{
    TFWebBrowsing frame(nullptr);
    frame.EDURL->setText(QStringLiteral("about:blank"));
    QSignalSpy finished(frame.WBB, &QWebEngineView::loadFinished);
    frame.EDURLKeyPress();
    EXPECT_EQ(frame.WBB->url(), QUrl(QStringLiteral("about:blank")));
    EXPECT_TRUE(finished.wait(20000));
}

TEST(WelcomePages, EachTabRequestsItsPageOnceWhenFirstShown)
{
    TTestHome home;
    TGlossmillMainForm form;
    EXPECT_TRUE(form.FWebBrowsingHelp->WBB->url().isEmpty());
    EXPECT_TRUE(form.FWebBrowsingNews->WBB->url().isEmpty());
    EXPECT_EQ(form.FWebBrowsingHelp->HomePage.right(38), QStringLiteral("glossmill-online-content/onlinedoc.php"));
    EXPECT_EQ(form.FWebBrowsingNews->HomePage.right(38), QStringLiteral("glossmill-online-content/whatisnew.php"));
    EXPECT_TRUE(form.FWebBrowsingHelp->SBNavHome->isEnabled());
    EXPECT_FALSE(form.FWebBrowsingHelp->EDURL->isVisibleTo(form.FWebBrowsingHelp));

    form.PGWelcome->setCurrentWidget(form.TBWhatIsNew);
    EXPECT_EQ(form.FWebBrowsingNews->Tag, 1);
    EXPECT_EQ(form.FWebBrowsingHelp->Tag, 0);
    EXPECT_EQ(form.FWebBrowsingNews->WBB->url(), QUrl(form.FWebBrowsingNews->HomePage));
    EXPECT_TRUE(form.FWebBrowsingHelp->WBB->url().isEmpty());

    form.PGWelcome->setCurrentWidget(form.TBOnlineHelp);
    EXPECT_EQ(form.FWebBrowsingHelp->Tag, 1);
    EXPECT_EQ(form.FWebBrowsingHelp->WBB->url(), QUrl(form.FWebBrowsingHelp->HomePage));

    // Later visits request nothing: the frame shows what it shows, also after the user went elsewhere.
    form.FWebBrowsingHelp->WBB->setUrl(QUrl(QStringLiteral("about:blank")));
    form.PGWelcome->setCurrentWidget(form.TBWelcomeHome);
    form.PGWelcome->setCurrentWidget(form.TBOnlineHelp);
    EXPECT_EQ(form.FWebBrowsingHelp->WBB->url(), QUrl(QStringLiteral("about:blank")));
}

TEST(WelcomePages, AnUnreachablePageNeitherHangsNorCrashes)
{
    TTestHome home;
    TGlossmillMainForm form;
    QSignalSpy finished(form.FWebBrowsingHelp->WBB, &QWebEngineView::loadFinished);
    form.PGWelcome->setCurrentWidget(form.TBOnlineHelp);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(form.FWebBrowsingHelp->SBNavHome->isEnabled());
}

} // namespace
