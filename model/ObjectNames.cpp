#include "model/ObjectNames.h"

#include "model/DocumentState.h"

#include <algorithm>

namespace {

// The index of key in table, or notFound.
template <class Table, class Key>
int IndexOf(const Table& table, const Key& key, int first, int notFound)
{
    for (int i = first; i <= Table::High; ++i) {
        if (table[i] == key)
            return i;
    }
    return notFound;
}

} // namespace

QChar PointLetter(int i)
{
    if (PointLetters.inRange(i))
        return QChar(PointLetters[i]);
    if (i == AxisXObject)
        return u'x';
    if (i == AxisYObject)
        return u'y';
    return u' ';
}

int PointIndex(QStringView s)
{
    if (s.size() != 1)
        return -1;
    return IndexOf(PointLetters, s.front().unicode(), 1, -1);
}

int PointIndexOfName(QStringView s)
{
    if (s.isEmpty())
        return 0;
    const char16_t c = s.front().toUpper().unicode();
    const int i = IndexOf(PointLetters, c, 1, 0);
    if (i != 0)
        return DocumentTables.Points[i].Kind != 0 ? i : 0;
    if (c == u'X')
        return AxisXObject;
    if (c == u'Y')
        return AxisYObject;
    return 0;
}

int PrmIndex(QStringView s)
{
    if (s.size() != 1)
        return -1;
    return IndexOf(ParamLetters, s.front().unicode(), 0, -1);
}

int UserFunctionIndex(QStringView s)
{
    return IndexOf(UserFunctionNames, s, 1, 0);
}

int CountVertexRefs(int i, std::span<const std::uint8_t> vertices)
{
    if (i == 0)
        return 0;
    return static_cast<int>(std::count(vertices.begin(), vertices.end(), i));
}

int CountVertices(std::span<const std::uint8_t> vertices)
{
    return static_cast<int>(vertices.size() - std::count(vertices.begin(), vertices.end(), 0));
}
