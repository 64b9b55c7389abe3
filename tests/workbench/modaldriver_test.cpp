#include <gtest/gtest.h>
#include <QMessageBox>
#include "ModalDriver.h"

TEST(ModalDriver, AnswersAMessageBoxAndRecordsIt)
{
    ModalDriver::TMessageBoxRecord rec;
    ModalDriver::AnswerNextMessageBox(QMessageBox::No, &rec);
    const int answer = QMessageBox::question(nullptr, "Caption", "Text?", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(answer, QMessageBox::No);
    EXPECT_TRUE(rec.shown);
    EXPECT_EQ(rec.title, "Caption");
    EXPECT_EQ(rec.text, "Text?");
    EXPECT_EQ(rec.icon, QMessageBox::Question);
}
