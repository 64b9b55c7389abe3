#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

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
    EXPECT_EQ(form.FWebBrowsingHelp->HomePage, QStringLiteral("qrc:/glossmill-online-content/onlinedoc.html"));
    EXPECT_EQ(form.FWebBrowsingNews->HomePage, QStringLiteral("qrc:/glossmill-online-content/whatisnew.html"));
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
    form.FWebBrowsingHelp->HomePage = QStringLiteral("http://glossmill.invalid/");
    QSignalSpy finished(form.FWebBrowsingHelp->WBB, &QWebEngineView::loadFinished);
    form.PGWelcome->setCurrentWidget(form.TBOnlineHelp);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(form.FWebBrowsingHelp->SBNavHome->isEnabled());
}

// Runs `step` and waits until the frame's browser has loaded `url`; false when it did not within the time.
bool LoadsPage(TFWebBrowsing &frame, const QString &url, const std::function<void()> &step)
{
    QSignalSpy finished(frame.WBB, &QWebEngineView::loadFinished);
    step();
    while (frame.WBB->url() != QUrl(url) || finished.isEmpty() || !finished.last().value(0).toBool()) {
        if (!finished.wait(30000))
            return false;
    }
    return true;
}

// The result of `script` on the page the frame shows, as text.
QString PageValue(TFWebBrowsing &frame, const QString &script)
{
    QString value;
    bool done = false;
    frame.WBB->page()->runJavaScript(script, [&](const QVariant &v) {
        value = v.toString();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 30000));
    return value;
}

TEST(WelcomePages, HelpAndNewsComeWithTheProgramAndHomeBackAndForwardWork)
{
    TTestHome home;
    TGlossmillMainForm form;
    TFWebBrowsing &help = *form.FWebBrowsingHelp;
    const QString helpPage = TFWebBrowsing::HelpPageAddress();
    const QString newsPage = TFWebBrowsing::NewsPageAddress();

    ASSERT_TRUE(LoadsPage(help, helpPage, [&] { form.PGWelcome->setCurrentWidget(form.TBOnlineHelp); }));
    const QString text = PageValue(help, QStringLiteral("document.body.innerText"));
    for (const char *step : {"Open a project", "Open Example Android Project..", "Edit translations",
                             "Mark Translation as..", "Save", "Add a language"})
        EXPECT_TRUE(text.contains(QLatin1String(step))) << step;

    // The help page links to the news page; the frame goes there, then back, forward and home.
    const QString link = PageValue(help, QStringLiteral("document.getElementById('news').href"));
    EXPECT_EQ(link, newsPage);
    ASSERT_TRUE(LoadsPage(help, newsPage, [&] {
        help.EDURL->setText(link);
        help.DoNavigate();
    }));
    EXPECT_TRUE(PageValue(help, QStringLiteral("document.body.innerText")).contains("What is new in version 1.0"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return help.SBNAvBack->isEnabled(); }, 10000));
    EXPECT_FALSE(help.SBNAvPrev->isEnabled());

    ASSERT_TRUE(LoadsPage(help, helpPage, [&] { help.SBNAvBack->click(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return help.SBNAvPrev->isEnabled() && !help.SBNAvBack->isEnabled(); }, 10000));
    ASSERT_TRUE(LoadsPage(help, newsPage, [&] { help.SBNAvPrev->click(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return help.SBNAvBack->isEnabled() && !help.SBNAvPrev->isEnabled(); }, 10000));
    ASSERT_TRUE(LoadsPage(help, helpPage, [&] { help.SBNavHome->click(); }));

    // The news tab shows its own page, which links back to the help.
    TFWebBrowsing &news = *form.FWebBrowsingNews;
    ASSERT_TRUE(LoadsPage(news, newsPage, [&] { form.PGWelcome->setCurrentWidget(form.TBWhatIsNew); }));
    EXPECT_EQ(PageValue(news, QStringLiteral("document.getElementById('help').href")), helpPage);
}

} // namespace
