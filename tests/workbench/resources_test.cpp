#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <iterator>

#include "GlossmillResources.h"

namespace {

struct TPicture
{
    const char *path;
    int width;
    int height;
};

// The places and sizes the windows rely on; image-list members must share one size.
const TPicture kPictures[] = {
    {":/splash.png", 600, 340},       {":/images/glossmill.png", 256, 256}, {":/images/tree0.png", 16, 16},
    {":/images/tree1.png", 16, 16},   {":/images/tree2.png", 16, 16},       {":/images/tree3.png", 16, 16},
    {":/images/tree4.png", 16, 16},   {":/images/translate.png", 16, 16},   {":/images/state0.png", 16, 16},
    {":/images/state1.png", 16, 16},  {":/images/state2.png", 16, 16},      {":/images/state3.png", 16, 16},
    {":/images/state4.png", 16, 16},  {":/images/state5.png", 16, 16},      {":/images/split0.png", 28, 16},
    {":/images/split1.png", 28, 16},  {":/images/split2.png", 28, 16},      {":/images/split3.png", 28, 16},
    {":/images/split4.png", 28, 16},  {":/images/split5.png", 28, 16},      {":/images/open.png", 24, 24},
    {":/images/save.png", 24, 24},    {":/images/saveall.png", 24, 24},     {":/images/expand.png", 24, 24},
    {":/images/collapse.png", 24, 24}, {":/images/undo.png", 24, 24},       {":/images/redo.png", 24, 24},
    {":/images/home.png", 16, 16},    {":/images/back.png", 16, 16},        {":/images/forward.png", 16, 16},
    {":/images/history.png", 14, 16}, {":/images/ok.png", 16, 16},          {":/images/cancel.png", 16, 16},
};

// The welcome page's help and news pages and their style sheet.
const char *const kPages[] = {":/glossmill-online-content/onlinedoc.html", ":/glossmill-online-content/whatisnew.html",
                              ":/glossmill-online-content/style.css"};

TEST(Resources, PagesComeWithTheProgram)
{
    InitGlossmillResources();
    for (const char *page : kPages) {
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        EXPECT_FALSE(file.readAll().isEmpty()) << page;
    }
}

TEST(Resources, EveryPictureLoadsWithItsSize)
{
    InitGlossmillResources();
    for (const TPicture &picture : kPictures) {
        const QImage image(picture.path);
        ASSERT_FALSE(image.isNull()) << picture.path;
        EXPECT_EQ(image.width(), picture.width) << picture.path;
        EXPECT_EQ(image.height(), picture.height) << picture.path;
    }
}

TEST(Resources, SplashIsOpaqueAndStatePicturesMarkWhatTheyShould)
{
    InitGlossmillResources();
    EXPECT_FALSE(QImage(":/splash.png").hasAlphaChannel());
    // "No mark" and the unused slot stay empty; every real state shows something.
    const auto painted = [](const char *path) {
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 0)
                    return true;
        return false;
    };
    EXPECT_FALSE(painted(":/images/state0.png"));
    EXPECT_FALSE(painted(":/images/state3.png"));
    for (const char *path : {":/images/state1.png", ":/images/state2.png", ":/images/state4.png", ":/images/state5.png"})
        EXPECT_TRUE(painted(path)) << path;
}

TEST(Resources, QrcListsOnlyFilesThatExist)
{
    QFile qrc(GLOSSMILL_SOURCE_DIR "/resources/resources.qrc");
    ASSERT_TRUE(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    int files = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("file")) {
            const QString name = xml.readElementText();
            EXPECT_TRUE(QFile::exists(GLOSSMILL_SOURCE_DIR "/resources/" + name)) << name.toStdString();
            ++files;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(files, int(std::size(kPictures) + std::size(kPages)));
}

} // namespace
