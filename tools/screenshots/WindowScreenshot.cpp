// Takes the README's picture of the window while it converts: three generated
// WAV files are dropped and the window is captured halfway through the second.
// Run by hand:
//   cmake --build <dir> --target window_screenshot
//   QT_QPA_PLATFORM=offscreen <dir>/tools/screenshots/window_screenshot docs/window-converting.png

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "queue/ConversionJobs.h"
#include "app/MainWindow.h"
#include "settings/ErrorReport.h"

namespace {

// A 16-bit stereo 44.1 kHz PCM WAV file holding a quiet 330 Hz tone, long
// enough that the picture's moment lasts a while.
void WriteToneWav(const std::filesystem::path& path, int seconds) {
    constexpr uint32_t kRate = 44100, kChannels = 2, kBlockAlign = kChannels * 2;
    const uint32_t frames = kRate * uint32_t(seconds);
    std::vector<uint8_t> bytes;
    auto put = [&](uint32_t value, int width) {
        for (int i = 0; i < width; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    auto tag = [&](const char* fourcc) { bytes.insert(bytes.end(), fourcc, fourcc + 4); };
    tag("RIFF"), put(36 + frames * kBlockAlign, 4), tag("WAVE");
    tag("fmt "), put(16, 4), put(1, 2), put(kChannels, 2), put(kRate, 4), put(kRate * kBlockAlign, 4);
    put(kBlockAlign, 2), put(16, 2);
    tag("data"), put(frames * kBlockAlign, 4);
    for (uint32_t frame = 0; frame < frames; ++frame) {
        const auto sample = int16_t(std::lround(0.4 * 32767 * std::sin(2 * M_PI * 330.0 * frame / kRate)));
        for (uint32_t channel = 0; channel < kChannels; ++channel) put(uint16_t(sample), 2);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    const QString picture = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    // The settings and log files are read and written in the working folder.
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) return 1;
    const std::filesystem::path album = std::filesystem::path(folder.path().toStdString()) / "Live at the Mill";
    std::filesystem::create_directories(album);

    QList<QUrl> urls;
    for (const char* name : {"01 Overture.wav", "02 Spinning Song.wav", "03 Finale.wav"}) {
        const auto path = album / name;
        WriteToneWav(path, 240);
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path.string())));
    }

    Settings settings;
    WindowServices services = DefaultWindowServices(settings);
    // One file at a time, so the picture shows the second of three.
    services.workers = 1;
    services.showMessageBox = [](const MessageBoxRequest& request) {
        std::fprintf(stderr, "%s\n", request.text.toLocal8Bit().constData());
    };
    settings.Logerr = MenuSwitch(false);
    MainWindow window(services);
    window.StartConversions(ConversionJobs());
    window.ApplySettings();
    window.show();
    window.StartAnimationTimer();
    window.QueueDroppedUrls(urls);

    QElapsedTimer waited;
    waited.start();
    const auto reached = [&window] {
        const BatchProgress progress = window.Engine()->Progress();
        return progress.Total - progress.Finished == 2 && progress.FirstFraction > 0.55;
    };
    while (!(reached() && window.FrameIndex() != 0)) {
        if (waited.elapsed() > 120000) {
            std::fprintf(stderr, "the conversion did not reach the picture's point\n");
            return 1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    const bool saved = window.grab().save(picture, "PNG");
    window.StopConversions();
    return saved ? 0 : 1;
}
