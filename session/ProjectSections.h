#pragma once

// The fixed lines of the project text, shared by its writer and reader.
// The reader finds sections by the separator and steps over captions by
// position, so captions are never read back.

#include <QString>

namespace project_text {

inline const QString SectionSeparator = QStringLiteral("----------");
// What the reader looks for: a line beginning with eight hyphens.
inline const QString SeparatorPrefix = QStringLiteral("--------");
inline const QString SecondLine = QStringLiteral("[Don't Edit] 3.14");
// Figure vertices store object O as 252, as files always have.
constexpr int OriginVertexCode = 252;
constexpr int OriginObject = 22;
// The integral's line: a constant, then the partitions.
constexpr int IntegralLineTag = 40;

} // namespace project_text
