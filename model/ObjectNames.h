#pragma once

#include "model/OffsetArray.h"

#include <QChar>
#include <QStringView>
#include <array>
#include <cstdint>
#include <span>

// Letters of the object slots 1..22.
inline constexpr TOffsetArray<char16_t, 1, 22> PointLetters{std::array<char16_t, 22>{
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'A', u'B', u'C', u'D',
    u'E', u'F', u'G', u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O'}};

// Names of the parameter table: -1 is x, 0 is y, 1..14 the parameters.
inline constexpr TOffsetArray<char16_t, -1, 14> ParamLetters{std::array<char16_t, 16>{
    u'x', u'y', u'a', u'b', u'c', u'd', u'm', u'n', u'p', u'q', u's', u't', u'u', u'v', u'@', u'k'}};
// The parameter '@' (theta) starts at 0 instead of 1.
inline constexpr int ThetaParamIndex = 13;
static_assert(ParamLetters[ThetaParamIndex] == u'@');

inline constexpr TOffsetArray<QStringView, 1, 8> UserFunctionNames{std::array<QStringView, 8>{
    u"f", u"g", u"h", u"f1", u"f2", u"f3", u"f4", u"f5"}};

// The axes take part in figures as pseudo-objects.
inline constexpr int AxisXObject = 250;
inline constexpr int AxisYObject = 251;

// Letter of object i; 'x' and 'y' for the axes, ' ' for anything else.
QChar PointLetter(int i);
// 1..22 when s is exactly one object letter (case-sensitive), else -1.
int PointIndex(QStringView s);
// The object named by the first character of s, upper-cased: 1..22 when that
// object exists, 250 for X, 251 for Y; 0 otherwise and for an empty s.
int PointIndexOfName(QStringView s);
// 0..14 when s is "y" or a parameter letter, else -1.
int PrmIndex(QStringView s);
// 1..8 when s is a user-function name, else 0.
int UserFunctionIndex(QStringView s);

// How many vertices of a figure are object i; 0 is no object and never counts.
int CountVertexRefs(int i, std::span<const std::uint8_t> vertices);
int CountVertices(std::span<const std::uint8_t> vertices);
