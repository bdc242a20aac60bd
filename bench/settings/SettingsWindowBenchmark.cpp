// The settings window's responsiveness: from nothing to the first painted frame (the window with
// the first feature's page), and from a click in the sidebar to the next page painted.
#include "app/settings/ContentView.h"
#include "app/settings/SettingsPlatform.h"
#include "app/settings/SettingsWindow.h"
#include "app/settings/tools/StandaloneSettingsStores.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace quilla;

namespace {

SettingsPlatform benchPlatform() {
    SettingsPlatform platform = SettingsPlatform::system();
    platform.packagePolicy = [] { return std::optional<QString>(); };
    return platform;
}

// Paints the window into an image, as the window system would ask for its first frame.
void paint(QWidget& window) {
    QImage frame(window.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&frame);
    window.render(&painter);
    benchmark::DoNotOptimize(frame.constBits());
}

void BM_FirstPaint(benchmark::State& state) {
    StandaloneSettingsStores stores;
    const SettingsPlatform platform = benchPlatform();
    for (auto _ : state) {
        SettingsWindow window(stores.stores, platform);
        window.show();
        QCoreApplication::processEvents();
        paint(window);
    }
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond);

void BM_PageSwitch(benchmark::State& state) {
    StandaloneSettingsStores stores;
    const SettingsPlatform platform = benchPlatform();
    SettingsWindow window(stores.stores, platform);
    window.show();
    QCoreApplication::processEvents();
    const auto features = allQuillaFeatures();
    std::size_t next = 0;
    for (auto _ : state) {
        window.contentView()->select(SettingsPage::forFeature(features[next++ % features.size()]));
        paint(window);
    }
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home; // the default settings, never the user's own
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, QDir(home.path()).filePath(QString::fromLatin1(variable)).toUtf8());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The cold case the user meets once per session: the application object, fonts, styles and
    // icons loaded for the first time, then the first frame. Measured once, before the loops.
    QElapsedTimer cold;
    cold.start();
    QApplication app(argc, argv);
    {
        StandaloneSettingsStores stores;
        SettingsWindow window(stores.stores, benchPlatform());
        window.show();
        QCoreApplication::processEvents();
        paint(window);
    }
    std::printf("cold start to first painted window: %lld ms\n", static_cast<long long>(cold.elapsed()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
