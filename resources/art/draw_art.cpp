// Draws Glossmill's pictures (splash, application icon, tree, state and button images) as PNG files.
// Run by make-art.sh; the PNGs it writes are committed, so building Glossmill never needs this program.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <cmath>
#include <functional>

namespace {

const QColor kInk(45, 52, 64);
const QColor kBlue(0, 120, 215);
const QColor kGreen(46, 160, 67);
const QColor kRed(214, 48, 49);
const QColor kAmber(240, 160, 0);
const QColor kTeal(0, 128, 140);
const QColor kPaper(250, 250, 246);
const QColor kFolder(236, 186, 64);

QString g_outDir;   // resources/images
QString g_splashPath;

// Draws on a transparent picture of `w` x `h` in a 16-unit grid scaled to the picture, and saves it.
void Save(const QString &name, int w, int h, double unit, const std::function<void(QPainter &)> &draw)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(unit, unit);
        draw(p);
    }
    const QString path = g_outDir + "/" + name;
    if (!image.save(path, "PNG"))
        QTextStream(stderr) << "cannot write " << path << "\n";
}

void Icon16(const QString &name, const std::function<void(QPainter &)> &draw) { Save(name, 16, 16, 1.0, draw); }
void Icon24(const QString &name, const std::function<void(QPainter &)> &draw) { Save(name, 24, 24, 1.5, draw); }

QFont Font(double pixels, bool bold = true)
{
    QFont f("DejaVu Sans");
    f.setPixelSize(qMax(1, int(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

// A closed outline through straight corners.
QPainterPath Polygon(std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(corners)));
    path.closeSubpath();
    return path;
}

QPen Pen(const QColor &c, double width) { return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// ------------------------------------------------------------------ shapes shared by several pictures

void Page(QPainter &p, const QRectF &r, const QColor &edge)
{
    const double fold = r.width() * 0.32;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(Pen(edge, 1));
    p.setBrush(kPaper);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(edge.lighter(170));
    p.drawPath(corner);
}

void Bubble(QPainter &p, const QRectF &r, const QColor &fill, bool tailLeft = true)
{
    QPainterPath path;
    path.addRoundedRect(r, r.height() * 0.3, r.height() * 0.3);
    QPainterPath tail;
    const double x = tailLeft ? r.left() + r.width() * 0.25 : r.right() - r.width() * 0.25;
    tail.moveTo(x - r.width() * 0.1, r.bottom() - 0.5);
    tail.lineTo(tailLeft ? r.left() + r.width() * 0.08 : r.right() - r.width() * 0.08, r.bottom() + r.height() * 0.35);
    tail.lineTo(x + r.width() * 0.12, r.bottom() - 0.5);
    tail.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path.united(tail));
}

void Letter(QPainter &p, const QRectF &r, const QString &text, const QColor &color, double pixels)
{
    p.setFont(Font(pixels));
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void Floppy(QPainter &p, double x, double y, double s, const QColor &body)
{
    const QRectF r(x, y, s, s);
    QPainterPath shell;
    shell.moveTo(r.left() + 1, r.top());
    shell.lineTo(r.right() - s * 0.2, r.top());
    shell.lineTo(r.right(), r.top() + s * 0.2);
    shell.lineTo(r.right(), r.bottom() - 1);
    shell.quadTo(r.right(), r.bottom(), r.right() - 1, r.bottom());
    shell.lineTo(r.left() + 1, r.bottom());
    shell.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - 1);
    shell.lineTo(r.left(), r.top() + 1);
    shell.quadTo(r.left(), r.top(), r.left() + 1, r.top());
    p.setPen(Pen(body.darker(140), 0.8));
    p.setBrush(body);
    p.drawPath(shell);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 226, 232));
    p.drawRect(QRectF(r.left() + s * 0.22, r.top() + s * 0.06, s * 0.5, s * 0.3));
    p.setBrush(body.darker(130));
    p.drawRect(QRectF(r.left() + s * 0.52, r.top() + s * 0.1, s * 0.12, s * 0.22));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(r.left() + s * 0.16, r.top() + s * 0.52, s * 0.68, s * 0.4), 0.6, 0.6);
}

void CurvedArrow(QPainter &p, bool left, const QColor &color)
{
    p.save();
    if (!left) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath arc;
    arc.moveTo(4.5, 6.5);
    arc.cubicTo(9, 3, 15, 5, 13.5, 10.5);
    arc.cubicTo(12.8, 12.5, 11, 13.5, 9, 13.5);
    p.setPen(Pen(color, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const QPainterPath head = Polygon({{1.5, 6.8}, {6.8, 2.6}, {7.2, 10.0}});
    p.setPen(Pen(color, 0.8));
    p.setBrush(color);
    p.drawPath(head);
    p.restore();
}

void StraightArrow(QPainter &p, bool left, const QColor &color)
{
    p.save();
    if (!left) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    p.setPen(Pen(color.darker(120), 0.8));
    p.setBrush(color);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    const QPainterPath arrow = Polygon({{3.5, 8}, {8, 3.8}, {8, 6.3}, {12.5, 6.3}, {12.5, 9.7}, {8, 9.7}, {8, 12.2}});
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    p.restore();
}

void DownTriangle(QPainter &p, double cx, double cy, double w, const QColor &color)
{
    const QPainterPath t = Polygon({{cx - w / 2, cy - w / 4}, {cx + w / 2, cy - w / 4}, {cx, cy + w / 4}});
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(t);
}

// A windmill (the "mill" of Glossmill) on a 100 x 100 grid with its base centre at (50, 100).
void Windmill(QPainter &p, const QColor &tower, const QColor &sails, const QColor &cloth, double sailAngle)
{
    QPainterPath body;
    body.moveTo(36, 100);
    body.lineTo(42, 42);
    body.quadTo(50, 30, 58, 42);
    body.lineTo(64, 100);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(tower);
    p.drawPath(body);
    p.setBrush(tower.darker(150));
    p.drawRoundedRect(QRectF(46, 80, 8, 20), 4, 4); // door
    p.drawEllipse(QRectF(47, 55, 6, 7));           // window

    p.save();
    p.translate(50, 42);
    p.rotate(sailAngle);
    for (int i = 0; i < 4; ++i) {
        p.setPen(Pen(sails, 2.4));
        p.drawLine(QPointF(0, 0), QPointF(0, -40));
        p.setPen(Pen(sails, 0.8));
        p.setBrush(cloth);
        p.drawRect(QRectF(1.5, -39, 9, 31));
        for (int k = 1; k < 4; ++k)
            p.drawLine(QPointF(1.5, -39 + k * 7.75), QPointF(10.5, -39 + k * 7.75));
        p.rotate(90);
    }
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(sails);
    p.drawEllipse(QPointF(50, 42), 3.2, 3.2);
}

// ------------------------------------------------------------------ state pictures

void Tick(QPainter &p, std::initializer_list<QPointF> corners, const QColor &color, double width)
{
    p.setPen(Pen(color, width));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(QList<QPointF>(corners)));
}

void StateDontTranslate(QPainter &p)
{
    p.setPen(Pen(kRed.darker(120), 0.8));
    p.setBrush(kRed);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 6.8, 8, 2.4), 1, 1);
}

void StateFinal(QPainter &p)
{
    p.setPen(Pen(kGreen.darker(120), 0.8));
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    Tick(p, {{4.6, 8.2}, {7, 10.6}, {11.5, 5.6}}, Qt::white, 2);
}

void StateNeedBetter(QPainter &p)
{
    const QPainterPath tri = Polygon({{8, 1.5}, {15, 14.3}, {1, 14.3}});
    p.setPen(Pen(kAmber.darker(130), 0.9));
    p.setBrush(kAmber);
    p.drawPath(tri);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(7.1, 5.2, 1.8, 5), 0.8, 0.8);
    p.drawEllipse(QRectF(7.05, 11.2, 1.9, 1.9));
}

void StateTranslated(QPainter &p)
{
    p.setPen(Pen(kBlue.darker(120), 0.8));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.save();
    p.translate(8, 8);
    p.rotate(45);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-1.4, -5, 2.8, 7.2));
    const QPainterPath nib = Polygon({{-1.4, 2.8}, {1.4, 2.8}, {0, 5.4}});
    p.drawPath(nib);
    p.restore();
}

const std::function<void(QPainter &)> kStates[6] = {
    [](QPainter &) {}, StateDontTranslate, StateFinal, [](QPainter &) {}, StateNeedBetter, StateTranslated};

// ------------------------------------------------------------------ the pictures

void DrawTree()
{
    Icon16("tree0.png", [](QPainter &p) { // project root: the world to translate for
        QRadialGradient g(QPointF(6, 5), 9);
        g.setColorAt(0, kBlue.lighter(150));
        g.setColorAt(1, kBlue);
        p.setPen(Pen(kBlue.darker(140), 0.9));
        p.setBrush(g);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(Pen(QColor(255, 255, 255, 200), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1, 6, 14));
        p.drawLine(QPointF(8, 1), QPointF(8, 15));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(2.8, 4.5), QPointF(13.2, 4.5));
        p.drawLine(QPointF(2.8, 11.5), QPointF(13.2, 11.5));
    });
    Icon16("tree1.png", [](QPainter &p) { // language
        Bubble(p, QRectF(0.5, 1, 15, 10.5), kTeal);
        Letter(p, QRectF(0.5, 0.8, 15, 10.5), "Aa", Qt::white, 8);
    });
    Icon16("tree2.png", [](QPainter &p) { // values group (strings)
        p.setPen(Pen(kGreen.darker(130), 0.9));
        p.setBrush(QColor(222, 244, 226));
        p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 2.5, 2.5);
        Letter(p, QRectF(0.5, 2.2, 15, 11), "\"ab\"", kGreen.darker(150), 7);
    });
    Icon16("tree3.png", [](QPainter &p) { // menu group
        p.setPen(Pen(kInk, 0.9));
        p.setBrush(kPaper);
        p.drawRoundedRect(QRectF(1.5, 0.5, 13, 15), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue.lighter(160));
        p.drawRect(QRectF(2.2, 6.2, 11.6, 3.6));
        p.setBrush(kInk);
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(4, 3 + i * 5, 8, 1.6), 0.7, 0.7);
    });
    Icon16("tree4.png", [](QPainter &p) { // resource file
        Page(p, QRectF(2.5, 0.5, 11, 15), kInk);
        p.setPen(Pen(kTeal, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(6.4, 7.5), QPointF(4.6, 9.7), QPointF(6.4, 11.9)}));
        p.drawPolyline(QPolygonF({QPointF(9.6, 7.5), QPointF(11.4, 9.7), QPointF(9.6, 11.9)}));
        p.drawLine(QPointF(8.7, 7.3), QPointF(7.3, 12.1));
    });
    Icon16("translate.png", [](QPainter &p) { // web translation
        p.setPen(Pen(kBlue.darker(130), 0.8));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(0.5, 0.5, 9, 9), 1.5, 1.5);
        Letter(p, QRectF(0.5, 0.3, 9, 9), "A", Qt::white, 7.5);
        p.setPen(Pen(kTeal.darker(130), 0.8));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6.5, 6.5, 9, 9), 1.5, 1.5);
        Letter(p, QRectF(6.5, 6.3, 9, 9), "\u00e4", kTeal.darker(120), 7.5);
    });
}

void DrawStates()
{
    for (int i = 0; i < 6; ++i)
        Icon16(QString("state%1.png").arg(i), kStates[i]);
    // Split-button pictures: a state picture (none for 0 and 1) beside the drop-down arrow.
    for (int i = 0; i < 6; ++i) {
        Save(QString("split%1.png").arg(i), 28, 16, 1.0, [i](QPainter &p) {
            static const int stateOf[6] = {0, 0, 5, 4, 2, 1}; // split image -> state picture
            if (i >= 2)
                kStates[stateOf[i]](p);
            DownTriangle(p, 22, 8.5, 8, i == 1 ? QColor(160, 160, 160) : kInk);
        });
    }
}

void DrawButtons()
{
    Icon24("open.png", [](QPainter &p) {
        p.setPen(Pen(kFolder.darker(150), 0.8));
        p.setBrush(kFolder.darker(115));
        const QPainterPath back = Polygon({{0.8, 3}, {5.5, 3}, {7, 4.6}, {13.5, 4.6}, {13.5, 13.5}, {0.8, 13.5}});
        p.drawPath(back);
        p.setBrush(kFolder);
        const QPainterPath front = Polygon({{3.2, 7}, {15.4, 7}, {13.2, 13.5}, {0.8, 13.5}});
        p.drawPath(front);
    });
    Icon24("save.png", [](QPainter &p) { Floppy(p, 1, 1, 14, kBlue); });
    Icon24("saveall.png", [](QPainter &p) {
        Floppy(p, 4.5, 0.5, 11, kBlue.darker(130));
        Floppy(p, 0.5, 4.5, 11, kBlue);
    });
    const auto treeBox = [](QPainter &p, bool plus) {
        p.setPen(Pen(kInk, 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(4, 6), QPointF(4, 13.5));
        p.drawLine(QPointF(4, 9.5), QPointF(8, 9.5));
        p.drawLine(QPointF(4, 13.5), QPointF(8, 13.5));
        p.setPen(Qt::NoPen);
        p.setBrush(kTeal);
        p.drawRoundedRect(QRectF(8.5, 8.3, 6.5, 2.4), 0.8, 0.8);
        p.drawRoundedRect(QRectF(8.5, 12.3, 6.5, 2.4), 0.8, 0.8);
        p.setPen(Pen(kInk, 0.9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.5, 0.5, 7, 7));
        p.setPen(Pen(kInk, 1.3));
        p.drawLine(QPointF(2.2, 4), QPointF(5.8, 4));
        if (plus)
            p.drawLine(QPointF(4, 2.2), QPointF(4, 5.8));
    };
    Icon24("expand.png", [treeBox](QPainter &p) { treeBox(p, true); });
    Icon24("collapse.png", [treeBox](QPainter &p) { treeBox(p, false); });
    Icon24("undo.png", [](QPainter &p) { CurvedArrow(p, true, kBlue); });
    Icon24("redo.png", [](QPainter &p) { CurvedArrow(p, false, kBlue); });

    Icon16("home.png", [](QPainter &p) {
        QPainterPath roof;
        roof.moveTo(0.8, 8);
        roof.lineTo(8, 1.2);
        roof.lineTo(15.2, 8);
        p.setPen(Pen(kRed.darker(110), 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(roof);
        p.setPen(Pen(kInk, 0.8));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.2, 7.3, 9.6, 7.7));
        p.setBrush(kTeal);
        p.drawRect(QRectF(6.7, 10, 2.6, 5));
    });
    Icon16("back.png", [](QPainter &p) { StraightArrow(p, true, kGreen); });
    Icon16("forward.png", [](QPainter &p) { StraightArrow(p, false, kGreen); });
    Save("history.png", 14, 16, 1.0, [](QPainter &p) {
        p.setPen(Pen(kInk, 0.9));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1, 0.8, 11.5, 11.5));
        p.setPen(Pen(kBlue, 1.2));
        p.drawLine(QPointF(6.75, 6.55), QPointF(6.75, 3));
        p.drawLine(QPointF(6.75, 6.55), QPointF(9.2, 7.8));
        DownTriangle(p, 6.75, 14.2, 6, kInk);
    });
    Icon16("ok.png", [](QPainter &p) {
        Tick(p, {{2, 8.5}, {6, 12.5}, {14, 3.5}}, kGreen, 2.6);
    });
    Icon16("cancel.png", [](QPainter &p) {
        p.setPen(Pen(kRed, 2.6));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
    });
}

void DrawAppIcon()
{
    Save("glossmill.png", 256, 256, 1.0, [](QPainter &p) {
        QLinearGradient sky(0, 0, 0, 256);
        sky.setColorAt(0, QColor(20, 150, 170));
        sky.setColorAt(1, QColor(0, 84, 140));
        p.setPen(Qt::NoPen);
        p.setBrush(sky);
        p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(QRectF(-40, 170, 336, 160)); // hill
        p.save();
        p.translate(16, 34);
        p.scale(1.9, 1.9);
        Windmill(p, QColor(245, 240, 228), QColor(90, 60, 40), QColor(255, 255, 255, 215), 18);
        p.restore();
        Bubble(p, QRectF(150, 140, 88, 60), kAmber, false);
        Letter(p, QRectF(150, 139, 88, 60), "A", Qt::white, 46);
    });
}

void DrawSplash()
{
    const int w = 600, h = 340;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(18, 130, 160));
    sky.setColorAt(0.75, QColor(8, 70, 120));
    sky.setColorAt(1, QColor(6, 50, 92));
    p.fillRect(0, 0, w, h, sky);

    // Evening sun and rolling hills behind the mill.
    QRadialGradient sun(QPointF(150, 250), 170);
    sun.setColorAt(0, QColor(255, 214, 120, 150));
    sun.setColorAt(1, QColor(255, 214, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(150, 250), 170, 170);
    p.setBrush(QColor(10, 92, 90));
    p.drawEllipse(QRectF(-160, 250, 620, 220));
    p.setBrush(QColor(6, 72, 74));
    p.drawEllipse(QRectF(200, 275, 600, 200));

    p.save();
    p.translate(40, 24);
    p.scale(2.7, 2.7);
    Windmill(p, QColor(244, 238, 222), QColor(92, 62, 40), QColor(255, 255, 255, 225), 22);
    p.restore();

    // Title, kept clear of the version label (314, 140) and the Close button (559, 322).
    p.setPen(Qt::white);
    p.setFont(Font(44));
    p.drawText(QRectF(300, 34, 290, 54), Qt::AlignLeft | Qt::AlignVCenter, "Glossmill");
    p.setFont(Font(17, false));
    p.setPen(QColor(210, 236, 244));
    p.drawText(QRectF(303, 6, 290, 30), Qt::AlignLeft | Qt::AlignBottom, "Vorel");
    p.drawText(QRectF(303, 90, 290, 30), Qt::AlignLeft | Qt::AlignVCenter, "for Android");
    p.setFont(Font(13, false));
    p.setPen(QColor(230, 244, 248));
    p.drawText(QRectF(303, 172, 280, 40), Qt::AlignLeft | Qt::TextWordWrap,
               "Translate the strings and menus of your Android app");

    // Greetings floating towards the translator.
    struct TGreeting { QRectF r; const char *text; QColor color; };
    const TGreeting greetings[] = {
        {QRectF(318, 228, 78, 30), "Hallo", kAmber},
        {QRectF(410, 218, 96, 30), "Bonjour", QColor(46, 160, 67)},
        {QRectF(368, 270, 64, 28), "Ol\u00e1", QColor(214, 90, 80)},
        {QRectF(456, 262, 70, 28), "Hola", QColor(0, 120, 215)},
    };
    for (const TGreeting &g : greetings) {
        Bubble(p, g.r, g.color, g.r.left() < 400);
        p.setFont(Font(14));
        p.setPen(Qt::white);
        p.drawText(g.r, Qt::AlignCenter, QString::fromUtf8(g.text));
    }
    p.end();
    if (!image.save(g_splashPath, "PNG"))
        QTextStream(stderr) << "cannot write " << g_splashPath << "\n";
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString resources = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    g_outDir = resources + "/images";
    g_splashPath = resources + "/splash.png";
    QDir().mkpath(g_outDir);
    DrawTree();
    DrawStates();
    DrawButtons();
    DrawAppIcon();
    DrawSplash();
    return 0;
}
