#include "GoldenFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QtGlobal>
#include <algorithm>
#include <cstdlib>

namespace {

QString GoldenPath(const QString& name)
{
    return QStringLiteral(KAVIRO_GOLDEN_DIR) + u'/' + name;
}

QString OutputPath(const QString& name)
{
    const QString dir = QStringLiteral(KAVIRO_GOLDEN_OUT_DIR) + QStringLiteral("/golden-failures");
    const QString path = dir + u'/' + name;
    QDir().mkpath(QFileInfo(path).path()); // names may hold a subfolder
    return path;
}

bool UpdatingGoldens()
{
    return qEnvironmentVariable("KAVIRO_UPDATE_GOLDENS") == QStringLiteral("1");
}

bool WriteText(const QString& path, const QString& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(text.toUtf8());
    return true;
}

int ChannelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

::testing::AssertionResult MatchesTextGolden(const QString& actual, const QString& name)
{
    if (UpdatingGoldens()) {
        if (!WriteText(GoldenPath(name), actual))
            return ::testing::AssertionFailure() << "cannot write golden " << GoldenPath(name).toStdString();
        return ::testing::AssertionSuccess();
    }
    QFile f(GoldenPath(name));
    if (!f.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "missing golden " << GoldenPath(name).toStdString()
                                             << " (KAVIRO_UPDATE_GOLDENS=1 writes it)";
    const QString expected = QString::fromUtf8(f.readAll());
    if (expected == actual)
        return ::testing::AssertionSuccess();
    WriteText(OutputPath(name), actual);
    return ::testing::AssertionFailure() << "differs from golden " << name.toStdString() << "; actual written to "
                                         << OutputPath(name).toStdString() << "\n--- expected\n"
                                         << expected.toStdString() << "--- actual\n"
                                         << actual.toStdString();
}

::testing::AssertionResult MatchesImageGolden(const QImage& actualImage, const QString& name,
                                              TImageTolerance tolerance)
{
    const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
    if (UpdatingGoldens()) {
        if (!actual.save(GoldenPath(name), "PNG"))
            return ::testing::AssertionFailure() << "cannot write golden " << GoldenPath(name).toStdString();
        return ::testing::AssertionSuccess();
    }
    QImage expected;
    if (!expected.load(GoldenPath(name), "PNG"))
        return ::testing::AssertionFailure() << "missing golden " << GoldenPath(name).toStdString()
                                             << " (KAVIRO_UPDATE_GOLDENS=1 writes it)";
    expected = expected.convertToFormat(QImage::Format_RGB32);
    if (expected.size() != actual.size()) {
        actual.save(OutputPath(name), "PNG");
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height()
                                             << " differs from golden " << expected.width() << "x"
                                             << expected.height();
    }
    QImage diff(actual.size(), QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const bool differs = ChannelDistance(a, expected.pixel(x, y)) > tolerance.ChannelDelta;
            differing += differs;
            // Equal pixels show faintly, differing ones red.
            const int grey = 192 + qGray(a) / 4;
            diff.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(grey, grey, grey));
        }
    const double total = static_cast<double>(actual.width()) * actual.height();
    if (differing <= tolerance.PixelFraction * total)
        return ::testing::AssertionSuccess();
    const QString base = QString(name).remove(QStringLiteral(".png"));
    actual.save(OutputPath(base + QStringLiteral(".actual.png")), "PNG");
    diff.save(OutputPath(base + QStringLiteral(".diff.png")), "PNG");
    return ::testing::AssertionFailure() << differing << " of " << total << " pixels differ from golden "
                                         << name.toStdString() << "; actual and diff written to "
                                         << OutputPath(base).toStdString() << ".{actual,diff}.png";
}
