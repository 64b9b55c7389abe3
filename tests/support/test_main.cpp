#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>

#include "ModalDriver.h"
#include "TestSupport.h"

// One QApplication for the whole test program: the model fills widget views and the workbench is all widgets.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Nobody is there to answer a box that a test did not expect: it is closed and the test fails.
    ModalDriver::CloseUnansweredModals();
    const int result = RUN_ALL_TESTS();
    // ctest lists a program as skipped by this line (its SKIP_REGULAR_EXPRESSION), so it is printed only when
    // nothing failed: a failure is never hidden behind a skip.
    if (result == 0 && TestSupport::CorpusSkips() > 0)
        std::printf("Skipped %d tests: %s\n", TestSupport::CorpusSkips(),
                    TestSupport::CorpusMissingReason().toLocal8Bit().constData());
    return result;
}
