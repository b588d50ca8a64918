// Times the preview of a large photo: a full decode scaled afterwards against a decode straight at
// the drawn size, and the whole preview refresh. Peak memory of each is measured in a child process
// of its own (this program started again with --child): the growth of the resident set's high-water
// mark (VmHWM, reset through /proc/self/clear_refs) over the resident set before the step, and the
// child's whole peak (VmHWM over its life).
#include "memory.h"
#include "preview/fit.h"
#include "preview/previewpane.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;
constexpr int Runs = 9;

// A photo-like picture: gradients, shapes and a little grain, so the JPEG is of a realistic size.
void writePhoto(const QString& path)
{
    QImage image(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, PhotoWidth, PhotoHeight);
    sky.setColorAt(0, QColor(30, 60, 140));
    sky.setColorAt(0.5, QColor(240, 170, 90));
    sky.setColorAt(1, QColor(20, 40, 30));
    p.fillRect(image.rect(), sky);
    QRandomGenerator random(42);
    for (int i = 0; i < 300; ++i) {
        p.setBrush(QColor(random.bounded(256), random.bounded(256), random.bounded(256), 120));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(random.bounded(PhotoWidth), random.bounded(PhotoHeight)), 50 + random.bounded(400),
            50 + random.bounded(300));
    }
    p.end();
    for (int y = 0; y < PhotoHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < PhotoWidth; ++x) {
            const int grain = static_cast<int>(random.bounded(17)) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + grain, 0, 255), std::clamp(qGreen(c) + grain, 0, 255),
                std::clamp(qBlue(c) + grain, 0, 255));
        }
    }
    image.save(path, "JPG", 90);
}

QSize drawnSize()
{
    const doorsel::PixelRect r = doorsel::FitPictureInPixels(PhotoWidth, PhotoHeight);
    return {r.width, r.height};
}

// (a) The picture decoded whole, then smoothly scaled to the drawn size.
QImage fullDecodeThenScale(const QString& path)
{
    QImageReader reader(path);
    return reader.read().scaled(drawnSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// (b) Decoded straight at the drawn size.
QImage scaledDecode(const QString& path)
{
    QImageReader reader(path);
    reader.setScaledSize(drawnSize());
    reader.setQuality(100);
    return reader.read();
}

// (c) The whole refresh: lookup, completeness check, decode and drawing.
void refresh(doorsel::PreviewPane& pane, const std::string& executable)
{
    pane.showPreviewOf(executable);
}

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double cpuNowMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Median wall-clock and CPU time; on a shared machine the CPU time is the steadier figure.
Timing median(const std::function<void()>& step)
{
    step(); // warm the file cache and the plugins
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        const double cpuStart = cpuNowMs();
        timer.start();
        step();
        walls.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpus.push_back(cpuNowMs() - cpuStart);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

// In a child: run one step once and print "<growth KiB> <whole peak KiB>".
int child(const QString& mode, const QString& folder)
{
    const QString photo = folder + "/screen/photo.jpg";
    const std::string executable = QFile::encodeName(folder + "/screen/logon.exe").toStdString();
    doorsel::PreviewPane pane;
    const long startPeak = StatusKiB("VmHWM:");
    ResetPeak();
    const long before = StatusKiB("VmRSS:");
    if (mode == "full")
        fullDecodeThenScale(photo);
    else if (mode == "scaled")
        scaledDecode(photo);
    else if (mode == "refresh")
        refresh(pane, executable);
    const long peak = StatusKiB("VmHWM:");
    std::printf("%ld %ld\n", peak - before, std::max(startPeak, peak));
    return 0;
}

struct Memory {
    double growthMiB = -1;
    double wholeMiB = -1;
};

Memory memoryOf(const QString& mode, const QString& folder)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {"--child", mode, folder});
    process.waitForFinished(120000);
    long growth = -1;
    long whole = -1;
    if (std::sscanf(process.readAllStandardOutput().constData(), "%ld %ld", &growth, &whole) != 2)
        return {};
    return {static_cast<double>(growth) / 1024, static_cast<double>(whole) / 1024};
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == "--child")
        return child(args[2], args[3]);

    QTemporaryDir temp;
    const QString folder = temp.path();
    QDir().mkpath(folder + "/screen");
    QFile placeholder(folder + "/screen/logon.exe");
    if (!placeholder.open(QIODevice::WriteOnly) || placeholder.write("placeholder") < 0)
        return 1;
    placeholder.close();
    const QString photo = folder + "/screen/photo.jpg";
    writePhoto(photo);
    const std::string executable = QFile::encodeName(folder + "/screen/logon.exe").toStdString();

    doorsel::PreviewPane pane;
    const Timing full = median([&] { fullDecodeThenScale(photo); });
    const Timing scaled = median([&] { scaledDecode(photo); });
    const Timing whole = median([&] { refresh(pane, executable); });
    if (pane.lastDecodedSize() != drawnSize()) {
        std::fprintf(
            stderr, "the refresh decoded at %dx%d\n", pane.lastDecodedSize().width(), pane.lastDecodedSize().height());
        return 1;
    }

    const Memory fullMem = memoryOf("full", folder);
    const Memory scaledMem = memoryOf("scaled", folder);
    const Memory refreshMem = memoryOf("refresh", folder);
    const Memory idleMem = memoryOf("idle", folder);

    std::printf("Preview of a %dx%d JPEG (quality 90, %.1f MiB) drawn at %dx%d; median of %d runs\n", PhotoWidth,
        PhotoHeight, static_cast<double>(QFileInfo(photo).size()) / (1024 * 1024), drawnSize().width(),
        drawnSize().height(), Runs);
    std::printf("%-34s %8s %8s %10s %13s\n", "step", "wall ms", "CPU ms", "peak +MiB", "process MiB");
    const auto row = [](const char* step, Timing t, Memory m) {
        std::printf("%-34s %8.1f %8.1f %10.1f %13.1f\n", step, t.wallMs, t.cpuMs, m.growthMiB, m.wholeMiB);
    };
    row("(a) full decode + smooth scale", full, fullMem);
    row("(b) decode at drawn size", scaled, scaledMem);
    row("(c) PreviewPane::showPreviewOf", whole, refreshMem);
    std::printf(
        "%-34s %8s %8s %10.1f %13.1f\n", "    idle child (baseline)", "-", "-", idleMem.growthMiB, idleMem.wholeMiB);
    std::printf("aim for (c): within 100 ms and 30 MiB\n");
    return 0;
}
