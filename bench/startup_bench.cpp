// A reload of 1000 objects and one calculation; then the start-up cost of the window, Form1
// created, loaded and painted once, against a bare window with the same 29 plain widgets.
#include "calc/exposure.h"
#include "qt/form1.h"
#include "settings/settingsfile.h"
#include "startratio.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray thousandObjects()
{
    QByteArray file = QByteArray::fromStdString(vellmore::settings::defaultContent());
    for (int i = 7; i < 1000; ++i)
        file += "Star" + QByteArray::number(i) + "=" + QByteArray::number(i) + ".5\r\n";
    return file;
}

void paintOnce(QWidget& window)
{
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    window.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

void startForm1(const QString& dir)
{
    vellmore::qt::Form1 window(dir);
    paintOnce(window);
}

// The same 29 controls at the same places, with nothing behind them.
void startBare()
{
    QWidget window;
    window.setFixedSize(351, 379);
    for (int i = 0; i < 6; ++i)
        (new QLineEdit(QStringLiteral("1420"), &window))->setGeometry(136, 24 + 24 * i, 65, 19);
    for (int i = 0; i < 19; ++i)
        (new QLabel(QStringLiteral("Telescope FL (mm):"), &window))
            ->setGeometry(24, 16 + 17 * i, 105, 17);
    for (int i = 0; i < 3; ++i)
        (new QPushButton(QStringLiteral("Calculate"), &window))
            ->setGeometry(224, 16 + 40 * i, 89, 25);
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    combo->setGeometry(208, 120, 137, 21);
    paintOnce(window);
}

void ReloadThousandObjects(benchmark::State& state)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Vellmore.ini")), thousandObjects());
    vellmore::qt::Form1 window(dir.path());
    auto* reload = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    for (auto _ : state)
        reload->click();
    state.counters["objects"] = window.findChild<QComboBox*>(QStringLiteral("Combo1"))->count();
}
BENCHMARK(ReloadThousandObjects)->Unit(benchmark::kMicrosecond);

void CalculateInWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    vellmore::qt::Form1 window(dir.path());
    auto* calculate = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    for (auto _ : state)
        calculate->click();
}
BENCHMARK(CalculateInWindow)->Unit(benchmark::kMicrosecond);

void ComputeExposure(benchmark::State& state)
{
    const std::array<std::string, vellmore::calc::inputCount> fields = {"1420", "19", "50",
                                                                        "220",  "40", "100"};
    for (auto _ : state)
        benchmark::DoNotOptimize(vellmore::calc::computeExposure(fields));
}
BENCHMARK(ComputeExposure);

} // namespace

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Vellmore.ini")),
              QByteArray::fromStdString(vellmore::settings::defaultContent()));
    vellmore::bench::compareStarts(
        "Qt", 201, [&dir] { startForm1(dir.path()); }, startBare);
    return 0;
}
