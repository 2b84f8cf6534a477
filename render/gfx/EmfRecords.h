#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>

// Record types of enhanced metafiles that the program reads by number.
enum : std::uint32_t {
    EmfHeaderRecord = 1,
    EmfEndOfFileRecord = 14,
};

// Offsets of the header record's fields, in bytes from the start of the
// record. The fields from cbPixelFormat on exist only in longer headers.
namespace emf_header {
inline constexpr int Bounds = 8;          // rclBounds: left, top, right, bottom (device pixels)
inline constexpr int Frame = 24;          // rclFrame (0.01 mm)
inline constexpr int Signature = 40;
inline constexpr int Bytes = 48;          // nBytes
inline constexpr int Records = 52;        // nRecords
inline constexpr int Handles = 56;        // nHandles (16 bits)
inline constexpr int DescriptionLength = 60;
inline constexpr int DescriptionOffset = 64;
inline constexpr int Device = 72;         // szlDevice (pixels)
inline constexpr int Millimeters = 80;    // szlMillimeters
inline constexpr int PixelFormatSize = 88;
inline constexpr int PixelFormatOffset = 92;
inline constexpr int Micrometers = 100;   // szlMicrometers
inline constexpr int BaseSize = 88;       // the shortest header
inline constexpr int PixelFormatHeaderSize = 100;
inline constexpr int FullSize = 108;      // with the micrometre fields
inline constexpr std::uint32_t SignatureValue = 0x464D4520; // " EMF"
} // namespace emf_header

// One record of an enhanced metafile: its type and its bytes, type and size
// included. The bytes belong to the buffer the record was read from.
struct TEmfRecord {
    std::uint32_t Type = 0;
    QByteArrayView Bytes;

    std::uint32_t Size() const { return static_cast<std::uint32_t>(Bytes.size()); }
    // Little-endian fields; 0 where the record is too short to hold them.
    std::uint32_t U32(qsizetype offset) const;
    std::int32_t I32(qsizetype offset) const { return static_cast<std::int32_t>(U32(offset)); }
    std::uint16_t U16(qsizetype offset) const;
};

// Walks the records of an enhanced metafile in order, from the header to the
// end-of-file record. Every record is checked to lie within the bytes, to be
// at least 8 bytes long and a multiple of 4; the first must be a header with
// the signature. Bytes after the end-of-file record are not read.
//
//     for (TEmfRecordIterator it(bytes); it.Next();)
//         use(it.Record());
//     if (!it.Error().isEmpty()) ...
class TEmfRecordIterator {
public:
    explicit TEmfRecordIterator(QByteArrayView emf);

    // Moves to the next record; false after the end-of-file record and on a
    // damaged record, which Error then describes.
    bool Next();
    const TEmfRecord& Record() const { return record_; }
    // Empty while the records read so far are sound and after the
    // end-of-file record; else what is wrong.
    const QString& Error() const { return error_; }
    // True once the end-of-file record has been read.
    bool Finished() const { return finished_; }

private:
    bool Fail(const QString& message);

    QByteArrayView emf_;
    qsizetype offset_ = 0;
    int index_ = 0;
    bool finished_ = false;
    TEmfRecord record_;
    QString error_;
};

// Hands every record to visit in order, as long as visit returns nonzero.
// Returns an error message when the bytes are not a sound enhanced metafile
// (an enumeration that visit stopped early is not an error).
QString EnumEmfRecords(QByteArrayView emf, const std::function<int(const TEmfRecord&)>& visit);

// The record type's name without its EMR_ prefix ("POLYLINE16"), or its number.
QString EmfRecordName(std::uint32_t type);

// One line per record, with the fields of the records the program writes
// decoded (other records show their size). Exact and stable: tests compare
// it whole. Ends with an error line when the bytes are damaged.
QString DumpEmfRecords(QByteArrayView emf);
