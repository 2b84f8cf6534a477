#include "render/gfx/EmfRecords.h"

#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <uemf.h>

std::uint32_t TEmfRecord::U32(qsizetype offset) const
{
    if (offset < 0 || offset + 4 > Bytes.size())
        return 0;
    return qFromLittleEndian<quint32>(Bytes.data() + offset);
}

std::uint16_t TEmfRecord::U16(qsizetype offset) const
{
    if (offset < 0 || offset + 2 > Bytes.size())
        return 0;
    return qFromLittleEndian<quint16>(Bytes.data() + offset);
}

TEmfRecordIterator::TEmfRecordIterator(QByteArrayView emf)
    : emf_(emf)
{
}

bool TEmfRecordIterator::Fail(const QString& message)
{
    error_ = message;
    record_ = {};
    return false;
}

bool TEmfRecordIterator::Next()
{
    if (finished_ || !error_.isEmpty())
        return false;
    const qsizetype remaining = emf_.size() - offset_;
    const QString number = QString::number(index_ + 1);
    if (remaining == 0 && index_ > 0)
        return Fail(QStringLiteral("Metarquivo EMF incompleto: falta o registro de fim de arquivo"));
    if (remaining < 8) {
        if (index_ == 0)
            return Fail(QStringLiteral("O arquivo não é um metarquivo EMF"));
        return Fail(QStringLiteral("Metarquivo EMF danificado: o registro %1 está cortado").arg(number));
    }
    const uchar* at = reinterpret_cast<const uchar*>(emf_.data() + offset_);
    const std::uint32_t type = qFromLittleEndian<quint32>(at);
    const std::uint32_t size = qFromLittleEndian<quint32>(at + 4);
    if (index_ == 0 && type != EmfHeaderRecord)
        return Fail(QStringLiteral("O arquivo não é um metarquivo EMF"));
    if (size < 8 || size % 4 != 0)
        return Fail(QStringLiteral("Metarquivo EMF danificado: o registro %1 tem tamanho inválido").arg(number));
    if (size > static_cast<std::uint64_t>(remaining))
        return Fail(QStringLiteral("Metarquivo EMF danificado: o registro %1 ultrapassa o fim do arquivo").arg(number));
    record_ = {type, emf_.sliced(offset_, size)};
    if (index_ == 0 &&
        (size < emf_header::BaseSize || record_.U32(emf_header::Signature) != emf_header::SignatureValue))
        return Fail(QStringLiteral("O arquivo não é um metarquivo EMF"));
    offset_ += size;
    ++index_;
    finished_ = type == EmfEndOfFileRecord;
    return true;
}

QString EnumEmfRecords(QByteArrayView emf, const std::function<int(const TEmfRecord&)>& visit)
{
    TEmfRecordIterator it(emf);
    while (it.Next())
        if (visit(it.Record()) == 0)
            return {};
    return it.Error();
}

QString EmfRecordName(std::uint32_t type)
{
    if (type < U_EMR_MIN || type > U_EMR_MAX)
        return QString::number(type);
    QString name = QString::fromLatin1(U_emr_names(type));
    name.remove(QLatin1String("U_EMR_"));
    return name;
}

namespace {

// The fixed part of a record as libuemf lays it out; zeros where the record
// is shorter.
template <class T>
T Fixed(const TEmfRecord& r)
{
    T value{};
    std::memcpy(&value, r.Bytes.data(), std::min<std::size_t>(sizeof(T), r.Bytes.size()));
    return value;
}

QString Num(std::int64_t v)
{
    return QString::number(v);
}

QString Hex(std::uint32_t v, int digits)
{
    return QString::number(v, 16).toUpper().rightJustified(digits, u'0');
}

QString ColorText(const U_COLORREF& c)
{
    std::uint32_t v = 0;
    std::memcpy(&v, &c, sizeof v);
    return Hex(qFromLittleEndian(v), 6);
}

QString RectText(const U_RECTL& r)
{
    return Num(r.left) + u' ' + Num(r.top) + u' ' + Num(r.right) + u' ' + Num(r.bottom);
}

QString PointText(std::int64_t x, std::int64_t y)
{
    return Num(x) + u',' + Num(y);
}

QString FloatText(float f)
{
    return QString::number(static_cast<double>(f), 'g', 7);
}

// count points of 16 or 32 bits each at offset.
QString PointsText(const TEmfRecord& r, qsizetype offset, std::uint32_t count, bool small)
{
    QStringList parts;
    const qsizetype step = small ? 4 : 8;
    for (std::uint32_t i = 0; i < count && offset + step <= r.Bytes.size(); ++i, offset += step) {
        if (small)
            parts << PointText(static_cast<std::int16_t>(r.U16(offset)), static_cast<std::int16_t>(r.U16(offset + 2)));
        else
            parts << PointText(r.I32(offset), r.I32(offset + 4));
    }
    return parts.join(u' ');
}

QString Utf16Text(const TEmfRecord& r, qsizetype offset, std::uint32_t count)
{
    QString s;
    for (std::uint32_t i = 0; i < count && offset + 2 <= r.Bytes.size(); ++i, offset += 2) {
        const char16_t c = r.U16(offset);
        if (c == 0)
            s += QStringLiteral("\\0");
        else
            s += QChar(c);
    }
    return u'"' + s + u'"';
}

// FNV-1a over bytes: a stable fingerprint of pixel data.
QString Fingerprint(QByteArrayView bytes)
{
    std::uint32_t h = 2166136261u;
    for (const char b : bytes) {
        h ^= static_cast<unsigned char>(b);
        h *= 16777619u;
    }
    return u'#' + Hex(h, 8).toLower();
}

// A bitmap stored in a record: its header at offBmi and its pixels at offBits.
QString DibText(const TEmfRecord& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                std::uint32_t cbBits)
{
    const auto outside = [&](std::uint64_t offset, std::uint64_t size) { return offset + size > r.Size(); };
    if (cbBmi < sizeof(U_BITMAPINFOHEADER) || outside(offBmi, cbBmi) || outside(offBits, cbBits))
        return QStringLiteral("dib none");
    U_BITMAPINFOHEADER h;
    std::memcpy(&h, r.Bytes.data() + offBmi, sizeof h);
    return QStringLiteral("dib ") + Num(h.biWidth) + u'x' + Num(h.biHeight) + u' ' + Num(h.biBitCount) +
           QStringLiteral("bit ") + Fingerprint(r.Bytes.sliced(offBits, cbBits));
}

QString HandleText(std::uint32_t handle)
{
    if (handle & U_STOCK_OBJECT)
        return QStringLiteral("stock ") + Num(handle & ~U_STOCK_OBJECT);
    return Num(handle);
}

QString HeaderText(const TEmfRecord& r)
{
    const U_EMRHEADER h = Fixed<U_EMRHEADER>(r);
    QString s = QStringLiteral(" bounds ") + RectText(h.rclBounds) + QStringLiteral(" frame ") + RectText(h.rclFrame) +
                QStringLiteral(" signature ") + Hex(h.dSignature, 8) + QStringLiteral(" version ") +
                Hex(h.nVersion, 8) + QStringLiteral(" bytes ") + Num(h.nBytes) + QStringLiteral(" records ") +
                Num(h.nRecords) + QStringLiteral(" handles ") + Num(h.nHandles) + QStringLiteral(" description ");
    s += h.nDescription
             ? Utf16Text(r, h.offDescription, h.nDescription) + QStringLiteral(" at ") + Num(h.offDescription)
             : QStringLiteral("none");
    s += QStringLiteral(" palette ") + Num(h.nPalEntries) + QStringLiteral(" device ") + Num(h.szlDevice.cx) + u'x' +
         Num(h.szlDevice.cy) + QStringLiteral(" mm ") + Num(h.szlMillimeters.cx) + u'x' + Num(h.szlMillimeters.cy);
    if (r.Size() >= emf_header::PixelFormatHeaderSize)
        s += QStringLiteral(" pixelformat ") + Num(h.cbPixelFormat) + QStringLiteral(" opengl ") + Num(h.bOpenGL);
    if (r.Size() >= emf_header::FullSize)
        s += QStringLiteral(" um ") + Num(h.szlMicrometers.cx) + u'x' + Num(h.szlMicrometers.cy);
    return s;
}

QString PolyText(const TEmfRecord& r, bool small)
{
    const U_EMRPOLYLINE p = Fixed<U_EMRPOLYLINE>(r); // the 16-bit records share the fixed part
    const qsizetype points = offsetof(U_EMRPOLYLINE, aptl);
    return QStringLiteral(" bounds ") + RectText(p.rclBounds) + QStringLiteral(" points ") + Num(p.cptl) + u':' + u' ' +
           PointsText(r, points, p.cptl, small);
}

QString ArcText(const TEmfRecord& r)
{
    const U_EMRARC a = Fixed<U_EMRARC>(r);
    return QStringLiteral(" box ") + RectText(a.rclBox) + QStringLiteral(" from ") +
           PointText(a.ptlStart.x, a.ptlStart.y) + QStringLiteral(" to ") + PointText(a.ptlEnd.x, a.ptlEnd.y);
}

QString FontText(const TEmfRecord& r)
{
    const U_EMREXTCREATEFONTINDIRECTW f = Fixed<U_EMREXTCREATEFONTINDIRECTW>(r);
    const U_LOGFONT& lf = f.elfw.elfLogFont;
    QString face;
    for (const std::uint16_t c : lf.lfFaceName) {
        if (c == 0)
            break;
        face += QChar(static_cast<char16_t>(c));
    }
    return u' ' + Num(f.ihFont) + QStringLiteral(" height ") + Num(lf.lfHeight) + QStringLiteral(" width ") +
           Num(lf.lfWidth) + QStringLiteral(" weight ") + Num(lf.lfWeight) + QStringLiteral(" italic ") +
           Num(lf.lfItalic) + QStringLiteral(" underline ") + Num(lf.lfUnderline) + QStringLiteral(" charset ") +
           Num(lf.lfCharSet) + QStringLiteral(" face \"") + face + u'"';
}

QString TextOutText(const TEmfRecord& r)
{
    const U_EMREXTTEXTOUTW t = Fixed<U_EMREXTTEXTOUTW>(r);
    const U_EMRTEXT& e = t.emrtext;
    // The clipping rectangle and the offset of the spacing follow the fixed part.
    const qsizetype rect = offsetof(U_EMREXTTEXTOUTW, emrtext) + sizeof(U_EMRTEXT);
    const bool hasRect = !(e.fOptions & U_ETO_NO_RECT);
    const qsizetype offDxAt = rect + (hasRect ? 16 : 0);
    QString s = QStringLiteral(" bounds ") + RectText(t.rclBounds) + QStringLiteral(" mode ") + Num(t.iGraphicsMode) +
                QStringLiteral(" scale ") + FloatText(t.exScale) + u'x' + FloatText(t.eyScale) +
                QStringLiteral(" at ") + PointText(e.ptlReference.x, e.ptlReference.y) + QStringLiteral(" options ") +
                Num(e.fOptions);
    if (hasRect)
        s += QStringLiteral(" rect ") + Num(r.I32(rect)) + u' ' + Num(r.I32(rect + 4)) + u' ' + Num(r.I32(rect + 8)) +
             u' ' + Num(r.I32(rect + 12));
    s += u' ' + Utf16Text(r, e.offString, e.nChars) + QStringLiteral(" dx");
    const std::uint32_t offDx = r.U32(offDxAt);
    for (std::uint64_t i = 0; i < e.nChars && offDx + 4 * (i + 1) <= r.Size(); ++i)
        s += u' ' + Num(r.I32(offDx + 4 * i));
    return s;
}

QString StretchDibText(const TEmfRecord& r)
{
    const U_EMRSTRETCHDIBITS d = Fixed<U_EMRSTRETCHDIBITS>(r);
    return QStringLiteral(" bounds ") + RectText(d.rclBounds) + QStringLiteral(" dest ") +
           PointText(d.Dest.x, d.Dest.y) + QStringLiteral(" size ") + PointText(d.cDest.x, d.cDest.y) +
           QStringLiteral(" src ") + PointText(d.Src.x, d.Src.y) + QStringLiteral(" size ") +
           PointText(d.cSrc.x, d.cSrc.y) + QStringLiteral(" usage ") + Num(d.iUsageSrc) + QStringLiteral(" rop ") +
           Hex(d.dwRop, 8) + u' ' + DibText(r, d.offBmiSrc, d.cbBmiSrc, d.offBitsSrc, d.cbBitsSrc);
}

QString RecordFields(const TEmfRecord& r)
{
    switch (r.Type) {
    case U_EMR_HEADER:
        return HeaderText(r);
    case U_EMR_EOF:
        return QStringLiteral(" palette ") + Num(r.U32(8));
    case U_EMR_POLYLINE:
    case U_EMR_POLYGON:
    case U_EMR_POLYBEZIER:
        return PolyText(r, false);
    case U_EMR_POLYLINE16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYBEZIER16:
        return PolyText(r, true);
    case U_EMR_ELLIPSE:
    case U_EMR_RECTANGLE:
        return QStringLiteral(" box ") + RectText(Fixed<U_EMRELLIPSE>(r).rclBox);
    case U_EMR_ROUNDRECT: {
        const U_EMRROUNDRECT rr = Fixed<U_EMRROUNDRECT>(r);
        return QStringLiteral(" box ") + RectText(rr.rclBox) + QStringLiteral(" corner ") + Num(rr.szlCorner.cx) +
               u'x' + Num(rr.szlCorner.cy);
    }
    case U_EMR_ARC:
    case U_EMR_CHORD:
    case U_EMR_PIE:
        return ArcText(r);
    case U_EMR_SETPIXELV: {
        const U_EMRSETPIXELV p = Fixed<U_EMRSETPIXELV>(r);
        return u' ' + PointText(p.ptlPixel.x, p.ptlPixel.y) + u' ' + ColorText(p.crColor);
    }
    case U_EMR_SETROP2:
    case U_EMR_SETBKMODE:
    case U_EMR_SETPOLYFILLMODE:
    case U_EMR_SETTEXTALIGN:
    case U_EMR_SETSTRETCHBLTMODE:
    case U_EMR_SETMAPMODE:
    case U_EMR_RESTOREDC:
        return u' ' + Num(r.I32(8));
    case U_EMR_SETTEXTCOLOR:
    case U_EMR_SETBKCOLOR:
        return u' ' + ColorText(Fixed<U_EMRSETTEXTCOLOR>(r).crColor);
    case U_EMR_INTERSECTCLIPRECT:
        return u' ' + RectText(Fixed<U_EMRINTERSECTCLIPRECT>(r).rclClip);
    case U_EMR_SELECTOBJECT:
    case U_EMR_DELETEOBJECT:
        return u' ' + HandleText(r.U32(8));
    case U_EMR_CREATEPEN: {
        const U_EMRCREATEPEN p = Fixed<U_EMRCREATEPEN>(r);
        return u' ' + Num(p.ihPen) + QStringLiteral(" style ") + Num(p.lopn.lopnStyle) + QStringLiteral(" width ") +
               Num(p.lopn.lopnWidth.x) + QStringLiteral(" color ") + ColorText(p.lopn.lopnColor);
    }
    case U_EMR_EXTCREATEPEN: {
        const U_EMREXTCREATEPEN p = Fixed<U_EMREXTCREATEPEN>(r);
        return u' ' + Num(p.ihPen) + QStringLiteral(" style ") + Hex(p.elp.elpPenStyle, 8) + QStringLiteral(" width ") +
               Num(p.elp.elpWidth) + QStringLiteral(" brush ") + Num(p.elp.elpBrushStyle) + QStringLiteral(" color ") +
               ColorText(p.elp.elpColor) + QStringLiteral(" hatch ") + Num(p.elp.elpHatch) +
               QStringLiteral(" entries ") + Num(p.elp.elpNumEntries);
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const U_EMRCREATEBRUSHINDIRECT b = Fixed<U_EMRCREATEBRUSHINDIRECT>(r);
        return u' ' + Num(b.ihBrush) + QStringLiteral(" style ") + Num(b.lb.lbStyle) + QStringLiteral(" color ") +
               ColorText(b.lb.lbColor) + QStringLiteral(" hatch ") + Num(b.lb.lbHatch);
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        const U_EMRCREATEDIBPATTERNBRUSHPT b = Fixed<U_EMRCREATEDIBPATTERNBRUSHPT>(r);
        return u' ' + Num(b.ihBrush) + QStringLiteral(" usage ") + Num(b.iUsage) + u' ' +
               DibText(r, b.offBmi, b.cbBmi, b.offBits, b.cbBits);
    }
    case U_EMR_EXTCREATEFONTINDIRECTW:
        return FontText(r);
    case U_EMR_EXTTEXTOUTW:
        return TextOutText(r);
    case U_EMR_STRETCHDIBITS:
        return StretchDibText(r);
    case U_EMR_SAVEDC:
        return {};
    default:
        return QStringLiteral(" size ") + Num(r.Size());
    }
}

} // namespace

QString DumpEmfRecords(QByteArrayView emf)
{
    QString out;
    TEmfRecordIterator it(emf);
    while (it.Next())
        out += EmfRecordName(it.Record().Type) + RecordFields(it.Record()) + u'\n';
    if (!it.Error().isEmpty())
        out += QStringLiteral("error ") + it.Error() + u'\n';
    return out;
}
