// The harness closes a modal window that no test answers and fails the test, instead of waiting forever.
#include <gtest/gtest.h>

#include <QDialog>
#include <QEventLoop>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "Glossmill_MainForm.h"
#include "ModalDriver.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

namespace {

const char *const CaseVariable = "GLOSSMILL_UNANSWERED_MODAL";

// What the child runs, by the name in CaseVariable; each opens a modal window that nobody answers.
void RunChildCase(const QByteArray &name)
{
    if (name == "open") {
        TTestHome home;
        QTemporaryDir noManifest;
        auto form = std::make_unique<TGlossmillMainForm>();
        form->OpenProject(noManifest.path());
    } else if (name == "nested") {
        // A timer that fires inside a loop of its own, as the window's check for outside changes does.
        QEventLoop loop;
        QTimer::singleShot(0, [&loop] {
            QMessageBox::warning(nullptr, QStringLiteral("Nested caption"), QStringLiteral("Shown from a nested loop"));
            loop.quit();
        });
        loop.exec();
    } else if (name == "dialog") {
        // A message-box answerer takes no other dialog.
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, nullptr);
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Plain dialog"));
        dialog.exec();
    } else {
        ADD_FAILURE() << "no such case: " << name.constData();
    }
}

struct TChildCase
{
    const char *name;
    QStringList shown; // what the failure must name
};

void PrintTo(const TChildCase &c, std::ostream *os)
{
    *os << c.name;
}

class UnansweredModal : public ::testing::TestWithParam<TChildCase>
{
};

TEST_P(UnansweredModal, IsClosedWithinSecondsAndFailsTheTestNamingIt)
{
    const QByteArray asChild = qgetenv(CaseVariable);
    if (!asChild.isEmpty()) {
        RunChildCase(asChild);
        return;
    }
    // Within seconds, even on a busy machine: a child that waits for an answer is killed after 30 and returns -1.
    QByteArray output;
    const int code = TestSupport::RunCurrentTestInChild(CaseVariable, GetParam().name, 30000, &output);
    EXPECT_EQ(code, 1) << output.toStdString();
    EXPECT_TRUE(output.contains("a modal window that no answer was armed for was closed")) << output.toStdString();
    for (const QString &text : GetParam().shown)
        EXPECT_TRUE(output.contains(text.toUtf8())) << text.toStdString() << "\n" << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnansweredModal,
    ::testing::Values(TChildCase{"open", {"\"Can not open project\": Can't find AndroidManifest.xml"}},
                      TChildCase{"nested", {"\"Nested caption\": Shown from a nested loop"}},
                      TChildCase{"dialog", {"\"Plain dialog\" (QDialog)"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(AnsweredModal, AnArmedAnswerAModalWindowMerelyShownAndOtherWindowsAreLeftToTheTest)
{
    ModalDriver::TMessageBoxRecord record;
    ModalDriver::AnswerNextMessageBox(QMessageBox::No, &record);
    EXPECT_EQ(QMessageBox::question(nullptr, "Caption", "Text?", QMessageBox::Yes | QMessageBox::No), QMessageBox::No);
    EXPECT_TRUE(record.shown);

    QDialog modal;
    modal.setModal(true);
    modal.show();
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
    QTest::qWait(200);
    EXPECT_TRUE(modal.isVisible());
    EXPECT_TRUE(window.isVisible());
}

} // namespace
