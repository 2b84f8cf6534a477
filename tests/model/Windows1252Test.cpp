// The Windows-1252 code page, both ways.
#include "model/Windows1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252Test, TextGoesOneByteACharacter)
{
    const struct {
        const char16_t* Text;
        QByteArray Bytes;
    } cases[] = {
        {u"x² = 1,5", QByteArray("x\xB2 = 1,5")},
        {u"Gráfico", QByteArray("Gr\xE1" "fico")},
        {u"€ “a” – …", QByteArray("\x80 \x93" "a\x94 \x96 \x85")},
        {u"\u22122", QByteArray("-2")},   // the minus sign of tick labels
        {u"π θ \u0081", QByteArray("? ? ?")}, // what the code page lacks
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.Text);
        EXPECT_EQ(EncodeWindows1252(text), c.Bytes) << text.toStdString();
    }
    // Back: every byte of the code page comes home.
    QByteArray all;
    for (int b = 0x20; b < 0x100; ++b)
        if (b < 0x80 || b >= 0xA0 || DecodeWindows1252(QByteArray(1, char(b)))[0].unicode() > 0xFF)
            all.append(char(b));
    EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(all)), all);
}

} // namespace
