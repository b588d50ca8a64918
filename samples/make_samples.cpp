// Draws the demo logon screens' preview pictures and writes their placeholder executables.
// Usage: doorsel_make_samples <samples folder>. The output is committed; run again after a change.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>

namespace {

void caption(QPainter& p, const QRect& area, const QString& text, int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(area.translated(2, 2), Qt::AlignCenter | Qt::TextWordWrap, text);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
}

QImage aurora()
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(8, 12, 40));
    sky.setColorAt(1, QColor(10, 70, 90));
    p.fillRect(image.rect(), sky);
    for (int band = 0; band < 4; ++band) {
        QPainterPath path;
        const double base = 170 + band * 55;
        path.moveTo(0, base);
        for (int x = 0; x <= 800; x += 40)
            path.lineTo(x, base + 40 * std::sin((x + band * 90) / 120.0));
        path.lineTo(800, base + 90);
        path.lineTo(0, base + 90);
        path.closeSubpath();
        p.fillPath(path, QColor(60 + band * 30, 220 - band * 25, 140 + band * 20, 90));
    }
    caption(p, QRect(0, 420, 800, 140), QStringLiteral("Aurora"), 72);
    return image;
}

QImage harbourLights()
{
    QImage image(960, 400, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient night(0, 0, 0, 400);
    night.setColorAt(0, QColor(12, 16, 48));
    night.setColorAt(0.6, QColor(30, 40, 90));
    night.setColorAt(1, QColor(5, 10, 25));
    p.fillRect(image.rect(), night);
    p.fillRect(QRect(0, 280, 960, 120), QColor(8, 20, 40));
    QRandomGenerator random(7);
    for (int i = 0; i < 40; ++i) {
        const QPointF centre(random.bounded(960), 200 + random.bounded(80));
        QRadialGradient glow(centre, 18);
        glow.setColorAt(0, QColor(255, 220, 120, 230));
        glow.setColorAt(1, QColor(255, 200, 80, 0));
        p.setBrush(glow);
        p.setPen(Qt::NoPen);
        p.drawEllipse(centre, 18, 18);
        p.fillRect(QRectF(centre.x() - 1, 290, 3, 60 + random.bounded(40)), QColor(255, 210, 110, 60));
    }
    caption(p, QRect(0, 40, 960, 120), QStringLiteral("Harbour Lights"), 64);
    return image;
}

QImage mosaic()
{
    QImage image(160, 120, QImage::Format_RGB32);
    QPainter p(&image);
    const QColor colours[] = {QColor(230, 90, 60), QColor(250, 190, 60), QColor(80, 170, 110), QColor(60, 120, 200)};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            p.fillRect(QRect(x * 20, y * 20, 20, 20), colours[(x + y * 3) % 4].darker(100 + (x * y) % 40));
    caption(p, image.rect(), QStringLiteral("Mosaic"), 28);
    return image;
}

QImage slate()
{
    QImage image(450, 800, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient stone(0, 0, 450, 800);
    stone.setColorAt(0, QColor(70, 80, 95));
    stone.setColorAt(1, QColor(30, 35, 45));
    p.fillRect(image.rect(), stone);
    p.setPen(QPen(QColor(255, 255, 255, 40), 3));
    for (int y = 60; y < 800; y += 90)
        p.drawLine(40, y, 410, y + 30);
    caption(p, QRect(0, 300, 450, 200), QStringLiteral("Slate"), 80);
    return image;
}

QImage sunset(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(250, 120, 60));
    sky.setColorAt(0.55, QColor(250, 200, 110));
    sky.setColorAt(0.56, QColor(40, 60, 110));
    sky.setColorAt(1, QColor(20, 30, 70));
    p.fillRect(image.rect(), sky);
    const double r = size.height() * 0.18;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 200));
    p.drawEllipse(QPointF(size.width() / 2.0, size.height() * 0.55), r, r);
    if (size.width() > 100)
        caption(p, QRect(0, size.height() * 0.65, size.width(), size.height() * 0.3), QStringLiteral("Sunset"), 56);
    return image;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool placeholder(const QString& folder, const QString& exe, const QString& name)
{
    return QDir().mkpath(folder)
        && writeFile(folder + '/' + exe,
            "Doorsel demo logon screen \"" + name.toUtf8() + "\": a placeholder file, not a program.\r\n");
}

bool picture(const QString& path, const QImage& image, const char* format, int quality = 85)
{
    return image.save(path, format, quality);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <samples folder>\n", argv[0]);
        return 2;
    }
    const QString root = QFile::decodeName(argv[1]);
    const bool ok = placeholder(root + "/Aurora", "aurora.exe", "Aurora")
        && picture(root + "/Aurora/aurora.jpg", aurora(), "JPG")
        && placeholder(root + "/Harbour Lights", "harbour.exe", "Harbour Lights")
        && picture(root + "/Harbour Lights/harbour.jpeg", harbourLights(), "JPG")
        && placeholder(root + "/Mosaic", "mosaic.exe", "Mosaic")
        && picture(root + "/Mosaic/mosaic.bmp", mosaic(), "BMP") && placeholder(root + "/Plain", "plain.exe", "Plain")
        && placeholder(root + "/Classics/Slate", "slate.exe", "Slate")
        && picture(root + "/Classics/Slate/slate.jpg", slate(), "JPG")
        && placeholder(root + "/Sunset", "sunset.exe", "Sunset")
        && picture(root + "/Sunset/Sunset.JPG", sunset({640, 400}), "JPG")
        // Never shown: a JPEG in the same folder comes first.
        && picture(root + "/Sunset/sunset-small.bmp", sunset({64, 40}), "BMP");
    if (!ok) {
        std::fprintf(stderr, "could not write the samples under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
