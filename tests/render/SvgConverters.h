#pragma once

// The metafile readers of other programs, run on bytes: Debian's emf2svg
// for enhanced metafiles, libwmf's wmf2svg for Windows metafiles.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct TSvgConversion {
    QString Missing; // the package to install when the converter is not there
    bool Converted = false;
    QString Error;   // the converter's complaint when it failed
    QByteArray Svg;
};

namespace svg_converters {

inline TSvgConversion Convert(const QString& program, const QString& package, const QByteArray& bytes,
                              const QString& suffix, bool namedInput)
{
    TSvgConversion result;
    const QString converter = QStandardPaths::findExecutable(program);
    if (converter.isEmpty()) {
        result.Missing = package;
        return result;
    }
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("picture.") + suffix);
    const QString output = dir.filePath(QStringLiteral("picture.svg"));
    QFile file(input);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        result.Error = QStringLiteral("cannot write ") + input;
        return result;
    }
    file.close();
    QStringList arguments{QStringLiteral("-o"), output};
    if (namedInput)
        arguments << QStringLiteral("-i");
    arguments << input;
    QProcess process;
    process.start(converter, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        result.Error = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }
    QFile svg(output);
    if (!svg.open(QIODevice::ReadOnly)) {
        result.Error = program + QStringLiteral(" wrote nothing");
        return result;
    }
    result.Svg = svg.readAll();
    result.Converted = result.Svg.contains("<svg") && result.Svg.contains("</svg>");
    if (!result.Converted)
        result.Error = QStringLiteral("not an SVG: ") + QString::fromUtf8(result.Svg.left(200));
    return result;
}

} // namespace svg_converters

inline TSvgConversion ConvertEmfToSvg(const QByteArray& emf)
{
    return svg_converters::Convert(QStringLiteral("emf2svg-conv"), QStringLiteral("emf2svg"), emf,
                                   QStringLiteral("emf"), true);
}

inline TSvgConversion ConvertWmfToSvg(const QByteArray& wmf)
{
    return svg_converters::Convert(QStringLiteral("wmf2svg"), QStringLiteral("libwmf-bin"), wmf,
                                   QStringLiteral("wmf"), false);
}
