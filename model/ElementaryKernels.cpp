#include "model/ElementaryKernels.h"

#include "model/Numeric.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// A number carried in two parts, Hi + Lo, with |Lo| about half an ulp of Hi
// at most: the reduced arguments and logarithms that must keep more than 64
// bits.
struct TWide {
    long double Hi;
    long double Lo;
};

// An entry of the logarithm table: a short reciprocal of the table point
// (at most 10 significant bits, so that products with it stay exact) and
// −ln of it in two parts.
struct TLogEntry {
    long double LnHi;
    double LnLo;
    double Inverse;
};

// A table value in two parts, the second one short.
struct TTableWide {
    long double Hi;
    double Lo;
};

// A table value in three parts: two of 32 bits and the rest.
struct TSineEntry {
    double Hi;
    double Mid;
    double Lo;
};

// The bits of an 80-bit value as it lies in memory.
struct TExtendedBits {
    std::uint64_t Mantissa; // with the explicit leading 1
    std::uint16_t SignAndExponent;
    std::uint16_t Padding[3];
};
static_assert(sizeof(TExtendedBits) == sizeof(long double));

constexpr int ExponentBias = 16383;

// The constants and tables below were computed with 400-bit arithmetic and
// rounded to 64 bits; the polynomials are Chebyshev fits whose error lies far
// below an ulp. Those that 53 bits hold exactly, or with an error far below
// what they contribute, are stored as double: the x87 loads a double in one
// micro-operation and an 80-bit value in several, which would cost more than
// the arithmetic.
constexpr double Short(long double x)
{
    return static_cast<double>(x);
}

// Sine and cosine. |x| <= π/4 goes straight to the series.
constexpr double QuarterPi = Short(0xC90FDAA22168C235P-64L);
// (sin √z / √z − 1) / z on 0 <= z <= (π/4)²: degree 7, error 5.31e-24; the
// leading coefficient, −1/6, apart and in two parts.
constexpr long double QuarterSinLeadHi = -0xAAAAAAAAAAAAAAABP-66L;
constexpr double QuarterSinLeadLo = Short(0xAAAAAAAAAAAAAAABP-131L);
constexpr long double QuarterSinHead[] = {
    0x8888888888888887P-70L, -0xD00D00D00D00C505P-76L,
};
constexpr double QuarterSinTail[] = {
    Short(0xB8EF1D2AB615E841P-82L), Short(-0xD7322B3F38A9B63EP-89L),
    Short(0xB0922FD95857B4F4P-96L), Short(-0xD73E2868860FE62AP-104L),
    Short(0xC9209FECDCBB3CCDP-112L),
};
// (cos √z − 1 + z/2) / z² on the same interval: degree 7, error 2.66e-25.
constexpr long double QuarterCosHead[] = {
    0xAAAAAAAAAAAAAAABP-68L, -0xB60B60B60B60B60BP-73L, 0xD00D00D00D00CBA3P-79L,
};
constexpr double QuarterCosTail[] = {
    Short(-0x93F27DBBC4EC999AP-85L), Short(0x8F76C77F99598E2DP-92L),
    Short(-0xC9CBA4A934E19A3AP-100L), Short(0xD73E733EC0B7C3B9P-108L),
    Short(-0xB2E8C7F499B10A4BP-116L),
};
// Beyond π/4, x = n·π/64 + r, |r| <= π/128, and the table below holds
// sin(nπ/64). 64/π:
constexpr double StepsPerRadian = Short(0xA2F9836E4E44152AP-59L);
// π/64 in three parts for |x| < NearLimit: two of 46 bits, so that n times
// each is exact for |n| < 2^18, and the rest.
constexpr double NearStepPart1 = Short(0xC90FDAA22168P-52L);
constexpr double NearStepPart2 = Short(0xC234C4C6628CP-100L);
constexpr double NearStepPart3 = Short(-0x1FC8F8CBB5BF6CP-154L);
// π/64 in four parts beyond: three of 35 bits, so that n times each is
// exact for |n| < 2^29, and the rest.
constexpr double StepPart1 = Short(0xC90FDAA22P-40L);
constexpr double StepPart2 = Short(0xB4611A626P-79L);
constexpr double StepPart3 = Short(0xCC51701B8P-117L);
constexpr double StepPart4 = Short(0xE68948127044533EP-183L);
// π/180 in two parts, the first also as its two halves of 32 bits.
constexpr long double DegreeHi = 0x477D1A894A74E457P-68L;
constexpr double DegreeHi1 = Short(0x8EFA3512P-37L);
constexpr double DegreeHi2 = Short(0x94E9C8AEP-69L);
constexpr double DegreeLo = Short(0xEC5F66E9485C4D9P-133L);
// π/64 in degrees, 45/16, and its inverse (rounded: a neighbour of the
// nearest multiple is as good a table point).
constexpr double DegreesPerStep = Short(2.8125L);
constexpr double StepsPerDegree = Short(16.0L / 45.0L);
// (sin r − r) / r³ and (cos r − 1) / r² as polynomials in z = r², for
// |r| <= π/128: Taylor series, whose first omitted terms stay below 2^−78 of
// sin r and 2^−75 of cos r. The leading coefficient −1/6 needs 64 bits.
constexpr long double SinLead = -0xAAAAAAAAAAAAAAABP-66L;
constexpr double SinCoefficients[] = {
    Short(1.0L / 120.0L), Short(-1.0L / 5040.0L), Short(1.0L / 362880.0L),
};
constexpr double CosCoefficients[] = {
    Short(-0.5L), Short(1.0L / 24.0L), Short(-1.0L / 720.0L), Short(1.0L / 40320.0L),
};
// ln 2 with 48 bits (e·Ln2Hi is exact for every exponent e) and the rest.
constexpr double Ln2Hi = Short(0xB17217F7D1CFP-48L);
constexpr double Ln2Lo = Short(0x79ABC9E3B39803F3P-112L);
// ln 2 to 64 bits and the rest.
constexpr long double Ln2 = 0xB17217F7D1CF79ACP-64L;
constexpr double Ln2Rest = Short(-0xD871319FF0342543P-130L);
constexpr double SixtyFourOverLn2 = Short(0xB8AA3B295C17F0BCP-57L);
// ln 2 / 64 with 42 bits (n·Ln2By64Hi is exact for |n| < 2^21) and the rest.
constexpr double Ln2By64Hi = Short(0x2C5C85FDF47P-48L);
constexpr double Ln2By64Lo = Short(0xF79ABC9E3B39803FP-114L);
// (e^r − 1 − r − r²/2) / r³ on |r| <= ln 2 / 128: degree 4, error 7.97e-18
constexpr double ExpCoefficients[] = {
    Short(0xAAAAAAAAAAAAAAABP-66L), Short(0xAAAAAAAAAA8A2D2EP-68L),
    Short(0x88888888887A17E0P-70L), Short(0xB60B68D5FBFDBBB2P-73L),
    Short(0xD00D0808E2DA40D2P-76L),
};
// (ln(1 + r) − r + r²/2) / r³ on |r| <= 1/128: degree 8, error 4.2e-23 (the
// powers need it: they multiply the logarithm by up to 10^6 near 1).
constexpr long double LnCoefficientsHead[] = {
    0xAAAAAAAAAAAAAAABP-65L, -0xFFFFFFFFFFFFFFFCP-66L,
};
constexpr double LnCoefficientsTail[] = {
    Short(0xCCCCCCCCCCCCCCCAP-66L), Short(-0xAAAAAAAAAAB5EDFCP-66L),
    Short(0x92492492492EF7D0P-66L), Short(-0xFFFFFFEC839DFC90P-67L),
    Short(0xE38E38D1918E3D5CP-67L), Short(-0xCCD30AFC212789A0P-67L),
    Short(0xBA344EE2A1FE97EEP-67L),
};
// 2^(j/64), j = 0..63, as a rounded value and its remainder.
constexpr TTableWide PowersOfTwo64ths[64] = {
    {0x1P+0L, Short(0.0L)},
    {0x8164D1F3BC030773P-63L, Short(0xF7CACA4F7A29BDE9P-128L)},
    {0x82CD8698AC2BA1D7P-63L, Short(0xF8A91D6D19482FFDP-129L)},
    {0x421D1461D66F2023P-62L, Short(0xD7C976509FE8AC1P-126L)},
    {0x85AAC367CC487B15P-63L, Short(-0x1D1B5239EF559F27P-126L)},
    {0x871F61969E8D101P-59L, Short(0xE85C9F15ED4AA559P-129L)},
    {0x88980E8092DA8527P-63L, Short(0x5DF8D76C98C67563P-127L)},
    {0x450A6ABAA4B77ECDP-62L, Short(0x40650EC961B40611P-130L)},
    {0x8B95C1E3EA8BD6E7P-63L, Short(-0x8373AF14EB586DFDP-132L)},
    {0x468D6FADBF2DD4F3P-62L, Short(-0x259C25B4B8DF2965P-126L)},
    {0x23A90E62D17354FP-57L, Short(0xB70051321E0F5317P-129L)},
    {0x240C7710C519AC77P-61L, Short(0xEEB02950929D0FC5P-128L)},
    {0x48E1E9B9D588E19BP-62L, Short(0x7EB6C70572D64EC1P-130L)},
    {0x24D68ACBC4F9BA4BP-61L, Short(-0xB319AFC589B6C463P-129L)},
    {0x94F4EFA8FEF70961P-63L, Short(0xBA2BEB4495477951P-129L)},
    {0x4B4A169B900C2DP-54L, Short(0x48EA9B683A9C22C5P-127L)},
    {0x9837F0518DB8A96FP-63L, Short(0x8D5A46305C85EDEDP-128L)},
    {0x99E0459320B7FA65P-63L, Short(-0x379EF269969406A3P-128L)},
    {0x9B8D39B9D54E5539P-63L, Short(-0x5D57E85D5C33C0E1P-127L)},
    {0x9D3ED9A72CFFB751P-63L, Short(-0x21B6B30FAF1664F5P-127L)},
    {0x4F7A993048D088D7P-62L, Short(-0xBEDDC1EC288C045DP-128L)},
    {0x50582887DCB8A7E1P-62L, Short(0x325B8F3DB61FB353P-128L)},
    {0xA27043030C496819P-63L, Short(-0xC90BF620FE6042B1P-128L)},
    {0x521A8AD704F3404FP-62L, Short(0x3476D20C5E0787BBP-129L)},
    {0x52FF6B54D8A89C75P-62L, Short(0xE5EBFB10B88380D9P-130L)},
    {0x53E6C9DA74B29AB5P-62L, Short(-0x613A4B2AFC608D51P-127L)},
    {0x15342B569D4F81DFP-60L, Short(0x541E24EC3531FA73P-127L)},
    {0xAB7A39B5A93ED337P-63L, Short(0xCB004764EB3C00F3P-128L)},
    {0x56AC1F752150A563P-62L, Short(0x93015191EB345D89P-128L)},
    {0xAF3B78AD690A4375P-63L, Short(-0x8367BF8CD132BF35P-129L)},
    {0xB123F581D2AC259P-59L, Short(-0xF05F902D25BD44E3P-128L)},
    {0xB311C412A9112489P-63L, Short(0xFB3C5371E629467P-125L)},
    {0x2D413CCCFE779921P-61L, Short(0x597D89B3754ABE9FP-127L)},
    {0xB6FD91E328D17791P-63L, Short(0xE2CBE1BBAA834B3FP-132L)},
    {0xB8FBAF4762FB9EE9P-63L, Short(0xDC3CBBC2B35B2D0DP-130L)},
    {0xBAFF5AB2133E45FBP-63L, Short(0x1D3546749164E0E3P-125L)},
    {0xBD08A39F580C36BFP-63L, Short(-0x2BBF7024C9782843P-126L)},
    {0xBF1799B67A731083P-63L, Short(-0xBF517AA1A07A3D7BP-130L)},
    {0x6096266533384A2BP-62L, Short(0xF88AFAB34A010F6BP-128L)},
    {0xC346CCDA24976407P-63L, Short(0x41D90AC251707485P-128L)},
    {0xC5672A115506DADDP-63L, Short(0x7C55A192C9BB3E6FP-128L)},
    {0xC78D74C8ABB9B15DP-63L, Short(-0xFB17471A24FF6207P-129L)},
    {0xC9B9BD866E2F27A3P-63L, Short(-0x3F8F036AFD774B41P-126L)},
    {0xCBEC14FEF2727C5DP-63L, Short(-0xB6F8370BA1409231P-131L)},
    {0x3389230547E12039P-61L, Short(-0xEE53E3835069C895P-130L)},
    {0xD06333DAEF2B2595P-63L, Short(-0x1495D1CD532D957FP-126L)},
    {0x69540EC8F895722DP-62L, Short(0x912472BE1EF20143P-130L)},
    {0xD4F35AABCFEDFA1FP-63L, Short(0xB243BDFF4C4C58B5P-128L)},
    {0x35D13F32B5A75ABDP-61L, Short(0x1CD345DCC8169FEFP-126L)},
    {0x6CCE8AE13C57EBDBP-62L, Short(-0x5E3084D707B5151P-129L)},
    {0xDBFBB797DAF23755P-63L, Short(0xF610356A78A6A991P-129L)},
    {0x37983D209783A449P-61L, Short(-0x22F85D2617B997A7P-127L)},
    {0xE0CCDEEC2A94E111P-63L, Short(0x32C4A8246E999E51P-130L)},
    {0xE33F8972BE8A5A51P-63L, Short(0x9BFE90795980EECFP-131L)},
    {0x1CB720DCEF906915P-60L, Short(0xF2F47A5276DD8765P-130L)},
    {0x1D072D4A07897B8DP-60L, Short(0x3C8BC868563863EFP-126L)},
    {0xEAC0C6E7DD24392FP-63L, Short(-0xBF4A29323E46AC15P-129L)},
    {0x3B53CC07B6650AE1P-61L, Short(0x300696DB5325FD89P-126L)},
    {0xEFE4B99BDCDAF5CBP-63L, Short(0x46561CF6948DB913P-127L)},
    {0x7940BB9E2CFFD89DP-62L, Short(-0xBB3FAB19B85C2DA7P-130L)},
    {0x3D495F454921B30BP-61L, Short(0xF73A18F5DB301F87P-128L)},
    {0xF7D0DF730AD13BB9P-63L, Short(-0xB795B494F8248A8BP-134L)},
    {0x7D41D96DB915019DP-62L, Short(0xF84B762862BAFF99P-128L)},
    {0xFD3E0C0CF486C175P-63L, Short(-0x7AC0C5A6CE1F11FDP-127L)},
};
// For the 7 fraction bits j of a mantissa m in [1, 2): the reciprocal of
// the middle of m's interval (of m/2 for j >= 53, m >= √2), exactly 1 for
// the two intervals that touch 1, so that ln x near 1 loses nothing.
constexpr TLogEntry LogTable[128] = {
    {0.0L, Short(0.0L), Short(0x1P+0L)},
    {0xC122451C45155105P-70L, Short(-0x13A7B203D97FF531P-132L), Short(0xFDP-8L)},
    {0x50CAA49660330273P-68L, Short(0x128637FDF36D2B97P-131L), Short(0xFBP-8L)},
    {0x6D730962DC639847P-68L, Short(-0x7504017E69AD00DP-130L), Short(0x3E5P-10L)},
    {0x8E72D315E1A9CC79P-68L, Short(-0x9C8199DB0DF89DC5P-134L), Short(0x3DDP-10L)},
    {0x55C571300F3BBB91P-67L, Short(0x7713AFE4A9F1A9BP-133L), Short(0x1EBP-9L)},
    {0xC8D839F7EB98A0EBP-68L, Short(0x449AB527BF026E23P-137L), Short(0x3CFP-10L)},
    {0xEA976B202EC37A2DP-68L, Short(0x5D64429917FF6315P-132L), Short(0x3C7P-10L)},
    {0x842CC5ACF1D03445P-67L, Short(0xFF66FD40CDCB04BFP-134L), Short(0xFP-4L)},
    {0x24CA6D87B186D2EBP-65L, Short(0x97C5BA2DE04B4F5DP-135L), Short(0x3B9P-10L)},
    {0xA242F01EDEFD6A37P-67L, Short(0x8D26AB6F1B8F2DC5P-132L), Short(0x1D9P-9L)},
    {0xAF4AD26CBC8E5BE7P-67L, Short(0x745C5C450A7F866DP-134L), Short(0xEBP-8L)},
    {0x5F4CDA1F0A4F2231P-66L, Short(-0xC7CC7CE0EAFFC5BBP-135L), Short(0x3A5P-10L)},
    {0xCE06196A692A41FBP-67L, Short(0xBE3CCC15326765F7P-135L), Short(0x1CFP-9L)},
    {0xDB56446D6AD8DFP-59L, Short(-0x57EED1CA59F19C8BP-131L), Short(0x73P-7L)},
    {0x757D5596484388E7P-66L, Short(0xC18546951F503C9FP-132L), Short(0x391P-10L)},
    {0xF87B866ECC9718FBP-67L, Short(0xC272C1DCA7116BCFP-132L), Short(0x38BP-10L)},
    {0x8309A9AA6A58C119P-66L, Short(-0xBE5F88B58D25B2BFP-131L), Short(0x385P-10L)},
    {0x22784C0B87318501P-64L, Short(0x4D6135EE8F0AC483P-130L), Short(0x37FP-10L)},
    {0x48623F6601C98BC3P-65L, Short(0x579C7F6CB882D847P-135L), Short(0x379P-10L)},
    {0x97B3BE5DE054ACC1P-66L, Short(-0xF4F85F9549CB48ADP-131L), Short(0x373P-10L)},
    {0x9EAF18935E13FB3P-62L, Short(-0x7AF693B4EACEA0DFP-130L), Short(0x36DP-10L)},
    {0xA5B6B7F7F11522EDP-66L, Short(-0xA9186AE5441F20BP-130L), Short(0x367P-10L)},
    {0x566563FC754BC5F5P-65L, Short(-0xBB4E50295E215445P-131L), Short(0x361P-10L)},
    {0xB3EB74EBC2BB85DFP-66L, Short(0xF58F92D023CB02BFP-132L), Short(0x35BP-10L)},
    {0x2E79720E9FA29957P-64L, Short(-0xD0005A6780636F7BP-132L), Short(0x1ABP-9L)},
    {0x304782CAA3478377P-64L, Short(-0x1967385F3C0B3DBFP-128L), Short(0x35P-6L)},
    {0xC72C475D616DF573P-66L, Short(-0x14D2EEBFF893306DP-128L), Short(0x34BP-10L)},
    {0xCD43BC6F5D51C3E9P-66L, Short(-0x1013C703C0B73E2FP-132L), Short(0x1A3P-9L)},
    {0xD49F69E456CF1B79P-66L, Short(0xBEA77A5C80DCCDCFP-131L), Short(0xDP-4L)},
    {0x6D65C6884EB36A1DP-65L, Short(0x3AA91DE8388C82D9P-132L), Short(0x33BP-10L)},
    {0x7080A2AC5FE6D1F1P-65L, Short(0x6A8E14E97C2461D9P-131L), Short(0x19BP-9L)},
    {0xE740B0ABF8CC3EA9P-66L, Short(-0x1104CA8A5EC172C9P-128L), Short(0x331P-10L)},
    {0x76C4F6C3522500D5P-65L, Short(0x47527E5B2E20C5EBP-132L), Short(0xCBP-8L)},
    {0xF3DD1AF5BBF15089P-66L, Short(-0x11BC9B2454E3013FP-130L), Short(0x327P-10L)},
    {0x1F474B134DF228DBP-63L, Short(0x71042512AA534DF5P-131L), Short(0x191P-9L)},
    {0x8050E356ED239B1BP-65L, Short(-0x5DD187A15D910BP-122L), Short(0x31DP-10L)},
    {0x8389C3026AC3139BP-65L, Short(0x18B76A7489C3E87DP-127L), Short(0x63P-7L)},
    {0x21B1F7027D63DD19P-63L, Short(0x10EA7F46A1566F69P-127L), Short(0x313P-10L)},
    {0x44B1DF3401C4ECA5P-64L, Short(0x8A11F79744C58F89P-130L), Short(0x30FP-10L)},
    {0x8CAB69DCDE17D2F7P-65L, Short(0x75A354285729E2D3P-130L), Short(0x185P-9L)},
    {0x8FF87F3E7A3D3AB7P-65L, Short(-0x2EC00F3EBAFEB00DP-128L), Short(0x305P-10L)},
    {0x49504125395B1D7BP-64L, Short(-0x1F884406D6B2E2F9P-127L), Short(0x301P-10L)},
    {0x4AFBC1F3724D4E7DP-64L, Short(0x4A5004F3EF063313P-129L), Short(0xBFP-8L)},
    {0x98A78F0E9AE71D85P-65L, Short(0xB37B0D1E11C1E0E5P-131L), Short(0x5FP-7L)},
    {0x9C08B942B2658E1BP-65L, Short(0x1B17E3F537263231P-127L), Short(0x2F3P-10L)},
    {0x27B03F6B28DB74E1P-63L, Short(-0x2A9D37A3926268F1P-129L), Short(0x2EFP-10L)},
    {0x142F9F3FF6264191P-62L, Short(0x7BE99AA2291FF61DP-131L), Short(0x2EBP-10L)},
    {0xA43CB874AC3B8371P-65L, Short(-0x73461B416730C401P-129L), Short(0x2E7P-10L)},
    {0x53D8DFAEEA603EA7P-64L, Short(0xD33B6D1B6EBD34FDP-130L), Short(0x171P-9L)},
    {0x553D0C6DEF86A255P-64L, Short(0xC0910951BAEDA115P-130L), Short(0x16FP-9L)},
    {0xAD4656DDF6FD070DP-65L, Short(-0xC2BDFB3E0375A8BBP-130L), Short(0x16DP-9L)},
    {0xB0168457848F5F49P-65L, Short(-0x22483026DCFCB957P-128L), Short(0x16BP-9L)},
    {-0x2BFE60E14F27A791P-63L, Short(0xC1DF5F8DEDC45019P-130L), Short(0x169P-8L)},
    {-0xAD215587A67F0CE3P-65L, Short(0xF2DF7BA68F2906A3P-130L), Short(0x167P-8L)},
    {-0x55228B0EB7498B3FP-64L, Short(-0xC61039EE4493EB5FP-130L), Short(0x165P-8L)},
    {-0xA764B99300134D7BP-65L, Short(0x50FB2EFB8BCFE79FP-129L), Short(0x163P-8L)},
    {-0x529CDCF3B3E65DCBP-64L, Short(-0x5032AEDAF6CB370DP-130L), Short(0x2C3P-9L)},
    {-0x512906D18F11EE29P-64L, Short(0xC8309EDCFC3B8F93P-132L), Short(0x2BFP-9L)},
    {-0x4FB31183BD7D3FAFP-64L, Short(-0x3B07D9FE1405F66DP-128L), Short(0x2BBP-9L)},
    {-0x9C75ED9C76990583P-65L, Short(0xCC159AFD0FB631E7P-132L), Short(0x2B7P-9L)},
    {-0x4D1F766A61F55359P-64L, Short(-0xACE9FDB9821EE511P-131L), Short(0xADP-7L)},
    {-0x974715D708E984E1P-65L, Short(-0x6648D42840D9E6F7P-129L), Short(0x2BP-5L)},
    {-0x4A25684F7A1A8D7BP-64L, Short(0x5B67D81F7E34E94BP-129L), Short(0xABP-7L)},
    {-0x4905562FF4500FFFP-64L, Short(-0x6451F95A378D2F3DP-129L), Short(0x2A9P-9L)},
    {-0x8F068619B8B5F1E5P-65L, Short(-0xA6C3527FCC2B677FP-130L), Short(0x2A5P-9L)},
    {-0x466034B7508DBD9DP-64L, Short(-0x3D1B0E4D1469C533P-128L), Short(0x151P-8L)},
    {-0x89B438149D4582F7P-65L, Short(0xCEB38916DB05296DP-131L), Short(0x14FP-8L)},
    {-0x876802FB2BED238BP-65L, Short(0xA16AA00BEB391763P-131L), Short(0x29BP-9L)},
    {-0x214649C4E721C6BFP-63L, Short(0x1810BFCF1FE78EB9P-127L), Short(0x53P-6L)},
    {-0x82012CA5A68206D7P-65L, Short(-0x9EF42D7EE95E4447P-132L), Short(0xA5P-7L)},
    {-0x3FD60467CC0F98B7P-64L, Short(-0xCB57A31C1FD98D3P-127L), Short(0x291P-9L)},
    {-0xFAA852B25BD9B839P-66L, Short(0x82480BF9CF23F33BP-131L), Short(0x147P-8L)},
    {-0xF460129552D2FF49P-66L, Short(0xE8E6FF226A211C9BP-137L), Short(0x145P-8L)},
    {-0xEFA3606391697A0BP-66L, Short(0x7A437E37464DB7A7P-131L), Short(0x287P-9L)},
    {-0xEAE10B5A7DDC8ADDP-66L, Short(0xEF29A06CAFF8F0E5P-131L), Short(0xA1P-7L)},
    {-0xE6190600BB281207P-66L, Short(-0x6994DE4EA13F7F3FP-131L), Short(0x281P-9L)},
    {-0x1C2968558C18C0A3P-63L, Short(-0x4238EB8092A01F01P-130L), Short(0x13FP-8L)},
    {-0xDC77B3821061D4CDP-66L, Short(0xDE8771FF440BD535P-132L), Short(0x27BP-9L)},
    {-0x6BCF253A02FFCB63P-65L, Short(-0xE601937CCF5CBB3BP-131L), Short(0x4FP-6L)},
    {-0xD2BEF941226E6723P-66L, Short(-0xA1D9ABB638E49A2DP-132L), Short(0x275P-9L)},
    {-0xCDD9B173EFDC1AAFP-66L, Short(0x87383FF07CF6BC37P-131L), Short(0x139P-8L)},
    {-0xC8EE6461A05EF1ABP-66L, Short(0x88402E8E7DB80763P-134L), Short(0x26FP-9L)},
    {-0xC3FD032906488481P-66L, Short(-0x1202FB932EF5A557P-136L), Short(0x9BP-7L)},
    {-0x2FC15FAC6184E79FP-64L, Short(-0xEC78819E469BA101P-133L), Short(0x269P-9L)},
    {-0x5D03E3D500DE9327P-65L, Short(0xC80C55099B685F4BP-131L), Short(0x133P-8L)},
    {-0xB503CE87BD568FE1P-66L, Short(-0x91A29EAC074348BDP-133L), Short(0x263P-9L)},
    {-0x2BFE60E14F27A791P-64L, Short(0xC1DF5F8DEDC45019P-131L), Short(0x13P-4L)},
    {-0xAAE8D6A1196B7653P-66L, Short(-0xED323F3EF8D374ABP-131L), Short(0x25DP-9L)},
    {-0x29E133E94461640DP-64L, Short(-0xA02A1B247945734BP-133L), Short(0x25BP-9L)},
    {-0xA2695B665BE8F33FP-66L, Short(0x6135783C0F0F9DF5P-130L), Short(0x4BP-6L)},
    {-0x9D4759698D1BAFB7P-66L, Short(-0xFABAA07B385CD863P-131L), Short(0x255P-9L)},
    {-0x981EB8C723FE97F5P-66L, Short(0xB9C7D96091FA579DP-131L), Short(0x129P-8L)},
    {-0x4A554BE07FD48D3P-61L, Short(-0x5DC7101F6FA6885P-127L), Short(0x25P-5L)},
    {-0x8F76C8716E161563P-66L, Short(-0xE12EC91EB0193863P-131L), Short(0x24DP-9L)},
    {-0x8A3C2C233A156345P-66L, Short(-0x813E3A7F0737B267P-133L), Short(0x125P-8L)},
    {-0x86BBF3E68472CB35P-66L, Short(0x44742DF9EA8B8EDFP-130L), Short(0x49P-6L)},
    {-0x40BAED0AFCF52B83P-65L, Short(0xB9C01CB92C6109CDP-131L), Short(0x245P-9L)},
    {-0x1F7B79FEC37DDECFP-64L, Short(-0xBB4097F43E9072BBP-134L), Short(0x243P-9L)},
    {-0xF1383B7157972F4FP-67L, Short(-0x2A1FFF87FA785577P-130L), Short(0x9P-3L)},
    {-0x750C4F59B2CD7579P-66L, Short(-0x6ECA8EC87D120959P-133L), Short(0x11FP-8L)},
    {-0x6FAEA060519D921DP-66L, Short(-0x920E0A97B3FADFFFP-132L), Short(0x23BP-9L)},
    {-0x360B6937DC87FC8BP-65L, Short(-0xC7C252F2985831EBP-134L), Short(0x239P-9L)},
    {-0xCD5A1231019D66DFP-67L, Short(-0x661E3E7B171E44ADP-131L), Short(0x11BP-8L)},
    {-0xC61A2EB18CD907ADP-67L, Short(-0xCB42A65EDAB4357P-128L), Short(0x8DP-7L)},
    {-0x5D96FC8E9AF84D1P-62L, Short(0xD71095A6D0F9EE1FP-134L), Short(0x231P-9L)},
    {-0xB3DD83937607DC93P-67L, Short(0x9610A6EDF5D4C7CDP-133L), Short(0x22FP-9L)},
    {-0xAC8657EF80E1427BP-67L, Short(0x46EAA2B125CD5C0FP-131L), Short(0x22DP-9L)},
    {-0x50BB72FA991BC0EFP-66L, Short(0xAC1B299A4DB45CD1P-133L), Short(0x115P-8L)},
    {-0x9A0EBCB0DE8E8495P-67L, Short(0xCF913DF65D915FBDP-133L), Short(0x45P-6L)},
    {-0x1253F62F0A1416F9P-64L, Short(0x125963FC4CFD74B1P-130L), Short(0x113P-8L)},
    {-0x876C1CDAA937F05DP-67L, Short(0x6A455D9DD65F02CBP-131L), Short(0x223P-9L)},
    {-0x7FEBA4466E4C0CDDP-67L, Short(-0x98B154E2232013F5P-135L), Short(0x221P-9L)},
    {-0xF0C838613B00ADCDP-68L, Short(0x4629E85F7036DC05P-133L), Short(0x21FP-9L)},
    {-0xE1AAEE8490F96665P-68L, Short(0xA80F8EF8E9C5C3DDP-134L), Short(0x21DP-9L)},
    {-0xCAE41876471F5BEBP-68L, Short(-0x83A01482FC661F1P-129L), Short(0x10DP-8L)},
    {-0x5DD163D8CB73F119P-67L, Short(0xB0D5E11B5A7D386DP-133L), Short(0x43P-6L)},
    {-0xAC52DD7E4726A463P-68L, Short(-0xA8F52C7523766025P-133L), Short(0x10BP-8L)},
    {-0x139E87B9FEBD5FA9P-65L, Short(-0xAD90155C8A72355FP-136L), Short(0x85P-7L)},
    {-0x46C366248F65FF0BP-67L, Short(-0x51776453B7E8254DP-132L), Short(0x109P-8L)},
    {-0x764699B150F30F8BP-68L, Short(-0xB19F7342554A6A19P-134L), Short(0x20FP-9L)},
    {-0x19ACE7551CC5144DP-66L, Short(-0x27077E059FC52ED5P-134L), Short(0x20DP-9L)},
    {-0x57116946E34E224FP-68L, Short(0xB6C3EC21B3D3E86BP-136L), Short(0x20BP-9L)},
    {-0x23AFEFD73DD7CD8BP-67L, Short(0xFF31E96DFC76A97DP-136L), Short(0x209P-9L)},
    {-0xDE7B8963A1C25E09P-70L, Short(-0x1EF65DC2D996BF95P-132L), Short(0x207P-9L)},
    {-0x27CE52BA4B4FB1FP-64L, Short(-0xD65EEBBC5F9B4FFP-133L), Short(0x205P-9L)},
    {-0x2FDC23D7B05D274FP-69L, Short(-0xB48E81D13803D65P-133L), Short(0x203P-9L)},
    {0.0L, Short(0.0L), Short(0x1P+0L)},
};
// sin(kπ/64), k = 0..127, in three parts: two of 32 bits, whose sum is the
// value to 64 bits and whose products with a number of 32 bits are exact, and
// the rest. cos(kπ/64) is the entry k + 32 (mod 128).
constexpr TSineEntry SineTable[128] = {
    {Short(0.0L), Short(0.0L), Short(0.0L)},
    {Short(0xC8FB2F88P-36L), Short(0xDD813E6EP-69L), Short(0x1A85E552CADF14P-122L)},
    {Short(0xC8BD35E1P-35L), Short(0x9B42BE1EP-68L), Short(-0x1C6349BB5A2046P-122L)},
    {Short(0x96408374P-34L), Short(0xE613A226P-67L), Short(0x1513423C0F83FDP-131L)},
    {Short(0xC7C5C1E3P-34L), Short(0x9A60AB64P-67L), Short(0x1732300393F336P-120L)},
    {Short(0xF8CFCBD9P-34L), Short(0xAF8D57AP-66L), Short(0x10887712E9DC96P-120L)},
    {Short(0x94A03176P-33L), Short(0xACF82D46P-65L), Short(-0x146D1623096502P-119L)},
    {Short(0xAC7CD3ADP-33L), Short(0xB1FDCFE2P-66L), Short(-0x1FB81AB19EC402P-119L)},
    {Short(0xC3EF1535P-33L), Short(0xEA962D1AP-66L), Short(0x18916152CF7EEEP-120L)},
    {Short(0xDAE8804FP-33L), Short(0xAE6015BP-65L), Short(0x1B165CBA0C1718P-120L)},
    {Short(0xF15AE9CP-29L), Short(0xDEC763CP-63L), Short(0x1B123A78D082C4P-119L)},
    {Short(0x839C3CC9P-32L), Short(0xBFFB65A8P-67L), Short(-0x100A1A3A035DFDP-118L)},
    {Short(0x8E39D9CDP-32L), Short(0xE68C86CAP-65L), Short(-0x1116CC04D002AEP-118L)},
    {Short(0x987FBFE7P-32L), Short(0xB81A708P-64L), Short(0x19CEC845AC87A6P-120L)},
    {Short(0xA2679928P-32L), Short(0x91DD618P-61L), Short(0x1DA8B3F71ACD12P-119L)},
    {Short(0xABEB49A4P-32L), Short(0xCEC9FA2AP-65L), Short(0x1BECDA8089C1A9P-120L)},
    {Short(0xB504F333P-32L), Short(0xF9DE6484P-64L), Short(0x165F626CDD52BP-114L)},
    {Short(0xBDAEF913P-32L), Short(0xAAFAEDE2P-65L), Short(-0x14DEB37C2B5CA5P-118L)},
    {Short(0xC5E40358P-32L), Short(0xA8BA05A7P-64L), Short(0x10F689766499CDP-118L)},
    {Short(0xCD9F023FP-32L), Short(0x9C3A059EP-64L), Short(0x11D798EDB8BCD2P-119L)},
    {Short(0xD4DB3148P-32L), Short(0xEA1A3034P-65L), Short(-0x139E2E924A6F83P-121L)},
    {Short(0xDB941A28P-32L), Short(0xCB71EC87P-64L), Short(0x160CDB1929ED22P-119L)},
    {Short(0xE1C5978CP-32L), Short(0xBDB0D24P-65L), Short(-0x162EAF91A0E75P-117L)},
    {Short(0xE76BD7A1P-32L), Short(0xE63B9786P-64L), Short(0x125129529D48A9P-120L)},
    {Short(0xEC835E79P-32L), Short(0x946A3145P-64L), Short(0x1F98408C6B0758P-118L)},
    {Short(0xF1090827P-32L), Short(0xB43725FDP-64L), Short(0x19C49F6CD6CA1DP-118L)},
    {Short(0xF4FA0AB6P-32L), Short(0xC5BB4BBP-62L), Short(0x163C5C7F03B719P-120L)},
    {Short(0xF853F7DCP-32L), Short(0x9186B953P-64L), Short(-0x1C291CA5B3BBB7P-119L)},
    {Short(0xFB14BE7FP-32L), Short(0xBAE58156P-64L), Short(0x10B951B0FE9539P-119L)},
    {Short(0xFD3AABF8P-32L), Short(0x8A516A18P-65L), Short(-0x1519426AE3E254P-120L)},
    {Short(0xFEC46D1EP-32L), Short(0x89292CFP-60L), Short(0x104E43BF71C9BAP-118L)},
    {Short(0xFFB10F1BP-32L), Short(0xCB6BEF1DP-64L), Short(0x1087A3B6ABD651P-118L)},
    {Short(1.0L), Short(0.0L), Short(0.0L)},
    {Short(0xFFB10F1BP-32L), Short(0xCB6BEF1DP-64L), Short(0x1087A3B6ABD651P-118L)},
    {Short(0xFEC46D1EP-32L), Short(0x89292CFP-60L), Short(0x104E43BF71C9BAP-118L)},
    {Short(0xFD3AABF8P-32L), Short(0x8A516A18P-65L), Short(-0x1519426AE3E254P-120L)},
    {Short(0xFB14BE7FP-32L), Short(0xBAE58156P-64L), Short(0x10B951B0FE9539P-119L)},
    {Short(0xF853F7DCP-32L), Short(0x9186B953P-64L), Short(-0x1C291CA5B3BBB7P-119L)},
    {Short(0xF4FA0AB6P-32L), Short(0xC5BB4BBP-62L), Short(0x163C5C7F03B719P-120L)},
    {Short(0xF1090827P-32L), Short(0xB43725FDP-64L), Short(0x19C49F6CD6CA1DP-118L)},
    {Short(0xEC835E79P-32L), Short(0x946A3145P-64L), Short(0x1F98408C6B0758P-118L)},
    {Short(0xE76BD7A1P-32L), Short(0xE63B9786P-64L), Short(0x125129529D48A9P-120L)},
    {Short(0xE1C5978CP-32L), Short(0xBDB0D24P-65L), Short(-0x162EAF91A0E75P-117L)},
    {Short(0xDB941A28P-32L), Short(0xCB71EC87P-64L), Short(0x160CDB1929ED22P-119L)},
    {Short(0xD4DB3148P-32L), Short(0xEA1A3034P-65L), Short(-0x139E2E924A6F83P-121L)},
    {Short(0xCD9F023FP-32L), Short(0x9C3A059EP-64L), Short(0x11D798EDB8BCD2P-119L)},
    {Short(0xC5E40358P-32L), Short(0xA8BA05A7P-64L), Short(0x10F689766499CDP-118L)},
    {Short(0xBDAEF913P-32L), Short(0xAAFAEDE2P-65L), Short(-0x14DEB37C2B5CA5P-118L)},
    {Short(0xB504F333P-32L), Short(0xF9DE6484P-64L), Short(0x165F626CDD52BP-114L)},
    {Short(0xABEB49A4P-32L), Short(0xCEC9FA2AP-65L), Short(0x1BECDA8089C1A9P-120L)},
    {Short(0xA2679928P-32L), Short(0x91DD618P-61L), Short(0x1DA8B3F71ACD12P-119L)},
    {Short(0x987FBFE7P-32L), Short(0xB81A708P-64L), Short(0x19CEC845AC87A6P-120L)},
    {Short(0x8E39D9CDP-32L), Short(0xE68C86CAP-65L), Short(-0x1116CC04D002AEP-118L)},
    {Short(0x839C3CC9P-32L), Short(0xBFFB65A8P-67L), Short(-0x100A1A3A035DFDP-118L)},
    {Short(0xF15AE9CP-29L), Short(0xDEC763CP-63L), Short(0x1B123A78D082C4P-119L)},
    {Short(0xDAE8804FP-33L), Short(0xAE6015BP-65L), Short(0x1B165CBA0C1718P-120L)},
    {Short(0xC3EF1535P-33L), Short(0xEA962D1AP-66L), Short(0x18916152CF7EEEP-120L)},
    {Short(0xAC7CD3ADP-33L), Short(0xB1FDCFE2P-66L), Short(-0x1FB81AB19EC402P-119L)},
    {Short(0x94A03176P-33L), Short(0xACF82D46P-65L), Short(-0x146D1623096502P-119L)},
    {Short(0xF8CFCBD9P-34L), Short(0xAF8D57AP-66L), Short(0x10887712E9DC96P-120L)},
    {Short(0xC7C5C1E3P-34L), Short(0x9A60AB64P-67L), Short(0x1732300393F336P-120L)},
    {Short(0x96408374P-34L), Short(0xE613A226P-67L), Short(0x1513423C0F83FDP-131L)},
    {Short(0xC8BD35E1P-35L), Short(0x9B42BE1EP-68L), Short(-0x1C6349BB5A2046P-122L)},
    {Short(0xC8FB2F88P-36L), Short(0xDD813E6EP-69L), Short(0x1A85E552CADF14P-122L)},
    {Short(0.0L), Short(0.0L), Short(0.0L)},
    {Short(-0xC8FB2F88P-36L), Short(-0xDD813E6EP-69L), Short(-0x1A85E552CADF14P-122L)},
    {Short(-0xC8BD35E1P-35L), Short(-0x9B42BE1EP-68L), Short(0x1C6349BB5A2046P-122L)},
    {Short(-0x96408374P-34L), Short(-0xE613A226P-67L), Short(-0x1513423C0F83FDP-131L)},
    {Short(-0xC7C5C1E3P-34L), Short(-0x9A60AB64P-67L), Short(-0x1732300393F336P-120L)},
    {Short(-0xF8CFCBD9P-34L), Short(-0xAF8D57AP-66L), Short(-0x10887712E9DC96P-120L)},
    {Short(-0x94A03176P-33L), Short(-0xACF82D46P-65L), Short(0x146D1623096502P-119L)},
    {Short(-0xAC7CD3ADP-33L), Short(-0xB1FDCFE2P-66L), Short(0x1FB81AB19EC402P-119L)},
    {Short(-0xC3EF1535P-33L), Short(-0xEA962D1AP-66L), Short(-0x18916152CF7EEEP-120L)},
    {Short(-0xDAE8804FP-33L), Short(-0xAE6015BP-65L), Short(-0x1B165CBA0C1718P-120L)},
    {Short(-0xF15AE9CP-29L), Short(-0xDEC763CP-63L), Short(-0x1B123A78D082C4P-119L)},
    {Short(-0x839C3CC9P-32L), Short(-0xBFFB65A8P-67L), Short(0x100A1A3A035DFDP-118L)},
    {Short(-0x8E39D9CDP-32L), Short(-0xE68C86CAP-65L), Short(0x1116CC04D002AEP-118L)},
    {Short(-0x987FBFE7P-32L), Short(-0xB81A708P-64L), Short(-0x19CEC845AC87A6P-120L)},
    {Short(-0xA2679928P-32L), Short(-0x91DD618P-61L), Short(-0x1DA8B3F71ACD12P-119L)},
    {Short(-0xABEB49A4P-32L), Short(-0xCEC9FA2AP-65L), Short(-0x1BECDA8089C1A9P-120L)},
    {Short(-0xB504F333P-32L), Short(-0xF9DE6484P-64L), Short(-0x165F626CDD52BP-114L)},
    {Short(-0xBDAEF913P-32L), Short(-0xAAFAEDE2P-65L), Short(0x14DEB37C2B5CA5P-118L)},
    {Short(-0xC5E40358P-32L), Short(-0xA8BA05A7P-64L), Short(-0x10F689766499CDP-118L)},
    {Short(-0xCD9F023FP-32L), Short(-0x9C3A059EP-64L), Short(-0x11D798EDB8BCD2P-119L)},
    {Short(-0xD4DB3148P-32L), Short(-0xEA1A3034P-65L), Short(0x139E2E924A6F83P-121L)},
    {Short(-0xDB941A28P-32L), Short(-0xCB71EC87P-64L), Short(-0x160CDB1929ED22P-119L)},
    {Short(-0xE1C5978CP-32L), Short(-0xBDB0D24P-65L), Short(0x162EAF91A0E75P-117L)},
    {Short(-0xE76BD7A1P-32L), Short(-0xE63B9786P-64L), Short(-0x125129529D48A9P-120L)},
    {Short(-0xEC835E79P-32L), Short(-0x946A3145P-64L), Short(-0x1F98408C6B0758P-118L)},
    {Short(-0xF1090827P-32L), Short(-0xB43725FDP-64L), Short(-0x19C49F6CD6CA1DP-118L)},
    {Short(-0xF4FA0AB6P-32L), Short(-0xC5BB4BBP-62L), Short(-0x163C5C7F03B719P-120L)},
    {Short(-0xF853F7DCP-32L), Short(-0x9186B953P-64L), Short(0x1C291CA5B3BBB7P-119L)},
    {Short(-0xFB14BE7FP-32L), Short(-0xBAE58156P-64L), Short(-0x10B951B0FE9539P-119L)},
    {Short(-0xFD3AABF8P-32L), Short(-0x8A516A18P-65L), Short(0x1519426AE3E254P-120L)},
    {Short(-0xFEC46D1EP-32L), Short(-0x89292CFP-60L), Short(-0x104E43BF71C9BAP-118L)},
    {Short(-0xFFB10F1BP-32L), Short(-0xCB6BEF1DP-64L), Short(-0x1087A3B6ABD651P-118L)},
    {Short(-1.0L), Short(0.0L), Short(0.0L)},
    {Short(-0xFFB10F1BP-32L), Short(-0xCB6BEF1DP-64L), Short(-0x1087A3B6ABD651P-118L)},
    {Short(-0xFEC46D1EP-32L), Short(-0x89292CFP-60L), Short(-0x104E43BF71C9BAP-118L)},
    {Short(-0xFD3AABF8P-32L), Short(-0x8A516A18P-65L), Short(0x1519426AE3E254P-120L)},
    {Short(-0xFB14BE7FP-32L), Short(-0xBAE58156P-64L), Short(-0x10B951B0FE9539P-119L)},
    {Short(-0xF853F7DCP-32L), Short(-0x9186B953P-64L), Short(0x1C291CA5B3BBB7P-119L)},
    {Short(-0xF4FA0AB6P-32L), Short(-0xC5BB4BBP-62L), Short(-0x163C5C7F03B719P-120L)},
    {Short(-0xF1090827P-32L), Short(-0xB43725FDP-64L), Short(-0x19C49F6CD6CA1DP-118L)},
    {Short(-0xEC835E79P-32L), Short(-0x946A3145P-64L), Short(-0x1F98408C6B0758P-118L)},
    {Short(-0xE76BD7A1P-32L), Short(-0xE63B9786P-64L), Short(-0x125129529D48A9P-120L)},
    {Short(-0xE1C5978CP-32L), Short(-0xBDB0D24P-65L), Short(0x162EAF91A0E75P-117L)},
    {Short(-0xDB941A28P-32L), Short(-0xCB71EC87P-64L), Short(-0x160CDB1929ED22P-119L)},
    {Short(-0xD4DB3148P-32L), Short(-0xEA1A3034P-65L), Short(0x139E2E924A6F83P-121L)},
    {Short(-0xCD9F023FP-32L), Short(-0x9C3A059EP-64L), Short(-0x11D798EDB8BCD2P-119L)},
    {Short(-0xC5E40358P-32L), Short(-0xA8BA05A7P-64L), Short(-0x10F689766499CDP-118L)},
    {Short(-0xBDAEF913P-32L), Short(-0xAAFAEDE2P-65L), Short(0x14DEB37C2B5CA5P-118L)},
    {Short(-0xB504F333P-32L), Short(-0xF9DE6484P-64L), Short(-0x165F626CDD52BP-114L)},
    {Short(-0xABEB49A4P-32L), Short(-0xCEC9FA2AP-65L), Short(-0x1BECDA8089C1A9P-120L)},
    {Short(-0xA2679928P-32L), Short(-0x91DD618P-61L), Short(-0x1DA8B3F71ACD12P-119L)},
    {Short(-0x987FBFE7P-32L), Short(-0xB81A708P-64L), Short(-0x19CEC845AC87A6P-120L)},
    {Short(-0x8E39D9CDP-32L), Short(-0xE68C86CAP-65L), Short(0x1116CC04D002AEP-118L)},
    {Short(-0x839C3CC9P-32L), Short(-0xBFFB65A8P-67L), Short(0x100A1A3A035DFDP-118L)},
    {Short(-0xF15AE9CP-29L), Short(-0xDEC763CP-63L), Short(-0x1B123A78D082C4P-119L)},
    {Short(-0xDAE8804FP-33L), Short(-0xAE6015BP-65L), Short(-0x1B165CBA0C1718P-120L)},
    {Short(-0xC3EF1535P-33L), Short(-0xEA962D1AP-66L), Short(-0x18916152CF7EEEP-120L)},
    {Short(-0xAC7CD3ADP-33L), Short(-0xB1FDCFE2P-66L), Short(0x1FB81AB19EC402P-119L)},
    {Short(-0x94A03176P-33L), Short(-0xACF82D46P-65L), Short(0x146D1623096502P-119L)},
    {Short(-0xF8CFCBD9P-34L), Short(-0xAF8D57AP-66L), Short(-0x10887712E9DC96P-120L)},
    {Short(-0xC7C5C1E3P-34L), Short(-0x9A60AB64P-67L), Short(-0x1732300393F336P-120L)},
    {Short(-0x96408374P-34L), Short(-0xE613A226P-67L), Short(-0x1513423C0F83FDP-131L)},
    {Short(-0xC8BD35E1P-35L), Short(-0x9B42BE1EP-68L), Short(0x1C6349BB5A2046P-122L)},
    {Short(-0xC8FB2F88P-36L), Short(-0xDD813E6EP-69L), Short(-0x1A85E552CADF14P-122L)},
};
// a + b exactly as Hi + Lo, when |a| >= |b| or a = 0.
inline TWide FastTwoSum(long double a, long double b)
{
    const long double s = a + b;
    return {s, b - (s - a)};
}

// a + b exactly as Hi + Lo, whatever their sizes.
inline TWide TwoSum(long double a, long double b)
{
    const long double s = a + b;
    const long double bPart = s - a;
    return {s, (a - (s - bPart)) + (b - bPart)};
}

// a as two halves of 32 bits each (Veltkamp), so that products of halves are exact.
inline TWide Split(long double a)
{
    constexpr long double Factor = 4294967297.0L; // 2^32 + 1
    const long double c = Factor * a;
    const long double hi = c - (c - a);
    return {hi, a - hi};
}

// a · b exactly as Hi + Lo (Dekker); |a|, |b| well below 2^16350.
inline TWide TwoProduct(long double a, long double b)
{
    const long double p = a * b;
    const TWide x = Split(a), y = Split(b);
    return {p, ((x.Hi * y.Hi - p) + x.Hi * y.Lo + x.Lo * y.Hi) + x.Lo * y.Lo};
}

// The nearest integer, halves to even: the x87 store rounds in the current
// mode, where a C++ conversion would switch the control word to truncate.
inline std::int64_t RoundToInt64(long double x)
{
    std::int64_t n;
    asm("fistpll %0" : "=m"(n) : "t"(x) : "st");
    return n;
}

// 2^k for a normal exponent (−16382 <= k <= 16383), built from its bits.
inline long double TwoToThe(int k)
{
    const TExtendedBits bits{std::uint64_t{1} << 63, static_cast<std::uint16_t>(k + ExponentBias), {}};
    long double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Σ c(i)·x^i for i < N by Horner's scheme.
template <std::size_t N, class Coefficient>
inline long double Horner(long double x, Coefficient c)
{
    long double p = c(N - 1);
    for (std::size_t i = N - 1; i-- > 0;)
        p = p * x + c(i);
    return p;
}

template <std::size_t N>
inline long double Polynomial(long double x, const double (&c)[N])
{
    return Horner<N>(x, [&](std::size_t i) -> long double { return c[i]; });
}

// The coefficients head, then tail (the higher ones, short).
template <std::size_t H, std::size_t T>
inline long double Polynomial(long double x, const long double (&head)[H], const double (&tail)[T])
{
    return Horner<H + T>(x, [&](std::size_t i) -> long double { return i < H ? head[i] : tail[i - H]; });
}

// ---- Sine and cosine ----

// x = Index · π/64 + R (mod 2π), |R.Hi| <= π/128 (a little more is harmless).
struct TReducedAngle {
    TWide R;
    unsigned Index;
};

// Beyond this the products n · StepPart1.. are no longer exact.
constexpr long double ReducibleLimit = 0x1P24L;

// The nearest whole number to x (|x| < 2^62, halves to even), and its lowest
// seven bits as a table index. Adding 1.5·2^63 leaves no fraction bits, so
// the sum rounds x and the rounded value stays in a register for the
// arithmetic that waits on it; the integer goes through memory off that
// path, by an integer store (an 80-bit store blocks the next for cycles).
struct TStepCount {
    long double Value;
    unsigned Index;
};
[[gnu::always_inline]] inline TStepCount RoundSteps(long double x)
{
    constexpr double Shifter = Short(0x1.8P63L);
    const long double n = (x + Shifter) - Shifter;
    return {n, static_cast<unsigned>(RoundToInt64(n)) & 127u};
}

// Below this |n| < 2^18, and the reduction by two parts of π/64 suffices.
constexpr long double NearLimit = 0x1P13L;

// For |x| < NearLimit: x − n·π/64 in two parts, the second far smaller than
// the first though not necessarily below an ulp of it. x − n·NearStepPart1
// is exact (the two are within a factor of 2); taking off n·NearStepPart2
// rounds, by an error kept exactly (either the part is far smaller than
// what it is taken from, or the difference spans at most 64 bits and is
// exact). The last part, below 2^−79, goes into the second part: even the
// closest approach of an 80-bit number to a multiple of π/64 in this range
// (about 2^−70) keeps its 64 leading bits.
[[gnu::always_inline]] inline TReducedAngle ReduceNearSteps(long double x)
{
    const TStepCount n = RoundSteps(x * StepsPerRadian);
    const long double t = x - n.Value * NearStepPart1;
    const long double p2 = n.Value * NearStepPart2;
    const long double a = t - p2;
    return {{a, ((t - a) - p2) - n.Value * NearStepPart3}, n.Index};
}

// For NearLimit <= |x| < ReducibleLimit: x − n·π/64 in two parts, the second not
// necessarily below an ulp of the first but far smaller. x − n·StepPart1 is
// exact (the two are within a factor of 2), and the next two parts are
// taken off with their rounding errors kept: each is far smaller than what
// it is taken from, or the difference is exact (a difference of numbers
// whose bits span at most 64 places). The last part goes into the second
// part of the result: it is below 2^−90, and even the closest approach of an
// 80-bit number to a multiple of π/64 in this range (about 2^−70) keeps its
// 64 leading bits.
[[gnu::always_inline]] inline TReducedAngle ReduceSteps(long double x)
{
    const TStepCount n = RoundSteps(x * StepsPerRadian);
    const long double t = x - n.Value * StepPart1;
    const long double p2 = n.Value * StepPart2;
    const long double a = t - p2;
    const long double p3 = n.Value * StepPart3;
    const long double b = a - p3;
    const long double lo = (((t - a) - p2) + ((a - b) - p3)) - n.Value * StepPart4;
    return {{b, lo}, n.Index};
}

// Degrees are reduced by whole steps of 45/16° exactly (d − n·45/16 is
// exact), so that whole quarter turns leave no rest, and only the rest of at
// most 1.41° is converted.
[[gnu::always_inline]] inline TReducedAngle ReduceDegrees(long double degrees)
{
    // Beyond 2^52 every value is a whole number and fmod is exact; NaN and
    // infinities become NaN.
    const long double d = std::fabs(degrees) < 0x1P52L ? degrees : std::fmod(degrees, 360.0L);
    const TStepCount n = RoundSteps(d * StepsPerDegree);
    const long double rest = d - n.Value * DegreesPerStep;
    // rest · π/180 in two parts, the second the rounding error of the first
    // (from rest cut in halves of 32 bits times the two 32-bit halves of
    // DegreeHi, each product exact) and the rest of π/180.
    const TWide cut = Split(rest);
    const long double hi = rest * DegreeHi;
    const long double lo = (((cut.Hi * DegreeHi1 - hi) + cut.Hi * DegreeHi2) + cut.Lo * DegreeHi1)
                           + (cut.Lo * DegreeHi2 + rest * DegreeLo);
    return {{hi, lo}, n.Index};
}

// sin(a + r) = sin a · cos r + cos a · sin r, with sin a and cos a the table
// entries s and c, for |r| <= π/128. sin a + cos a · r32, with r32 the
// leading 32 bits of r, comes out exactly in two parts (the product of two
// 32-bit numbers is exact, and |sin a| exceeds |cos a · r| unless it is 0);
// every smaller term is gathered apart, the series of sin r − r and
// cos r − 1 last. Those are Taylor series, whose first omitted terms stay
// below 2^−78 of sin r and 2^−75 of cos r, evaluated by Estrin's scheme:
// their halves in parallel, which shortens the chain the result waits on.
//
// The x87 has eight registers, and an 80-bit value spilled to memory costs
// more than the arithmetic on it (its store takes five cycles and holds up
// the next): the steps are written in the order that keeps at most seven
// values alive, each used up as soon as it can be (the file is compiled
// with -fno-tree-ter, which keeps that order), and every table value and
// constant but one is a double that the arithmetic reads from memory.
[[gnu::always_inline]] inline long double SinOfSum(const TSineEntry& s, const TSineEntry& c, TWide r)
{
    long double small = r.Hi * c.Lo + s.Lo;
    const TWide cut = Split(r.Hi);
    const long double cosA = static_cast<long double>(c.Hi) + c.Mid;
    small += cosA * cut.Lo;
    small += cosA * r.Lo;
    small += c.Mid * cut.Hi;
    const long double sinA = static_cast<long double>(s.Hi) + s.Mid;
    const TWide head = FastTwoSum(sinA, c.Hi * cut.Hi);
    small += head.Lo;
    const long double z = r.Hi * r.Hi;
    const long double forSin = cosA * (r.Hi * z);
    const long double forCos = sinA * z;
    const long double z2 = z * z;
    const long double sinSeries = forSin * ((SinLead + z * SinCoefficients[0]) + z2 * (SinCoefficients[1] + z * SinCoefficients[2]));
    const long double cosPoly = (CosCoefficients[0] + z * CosCoefficients[1]) + z2 * (CosCoefficients[2] + z * CosCoefficients[3]);
    return head.Hi + (small + (sinSeries + forCos * cosPoly));
}

// sin x and cos x for |x| <= π/4 straight from their series, by Estrin's
// scheme; the leading terms are added with their rounding errors kept.
[[gnu::always_inline]] inline long double QuarterSin(long double x)
{
    const long double z = x * x;
    const long double z2 = z * z;
    const long double* h = QuarterSinHead;
    const double* t = QuarterSinTail;
    long double p = (t[2] + z * t[3]) + z2 * t[4];
    p *= z2 * z2;
    p += z2 * (t[0] + z * t[1]);
    p += h[0] + z * h[1];
    const long double cube = x * z;
    const TWide s = FastTwoSum(x, cube * QuarterSinLeadHi);
    return s.Hi + ((s.Lo + cube * QuarterSinLeadLo) + (cube * z) * p);
}

[[gnu::always_inline]] inline long double QuarterCos(long double x)
{
    const long double z = x * x;
    const long double z2 = z * z;
    const long double* h = QuarterCosHead;
    const double* t = QuarterCosTail;
    long double p = (t[1] + z * t[2]) + z2 * (t[3] + z * t[4]);
    p *= z2 * z2;
    p += z2 * (h[2] + z * t[0]);
    p += h[0] + z * h[1];
    const long double half = 0.5L * z;
    const long double w = 1.0L - half;
    // (1 − w) − half is the rounding error of w, exactly.
    return w + (((1.0L - w) - half) + (z2 * p));
}

// Radians or degrees, reduced, to their sine or cosine: the cosine is the
// sine a quarter turn on.
[[gnu::always_inline]] inline long double SinOfReduced(const TReducedAngle& t)
{
    return SinOfSum(SineTable[t.Index], SineTable[(t.Index + 32u) & 127u], t.R);
}

[[gnu::always_inline]] inline long double CosOfReduced(const TReducedAngle& t)
{
    return SinOfSum(SineTable[(t.Index + 32u) & 127u], SineTable[(t.Index + 64u) & 127u], t.R);
}

// Arguments beyond NearLimit, rare in graphs, out of the way of the common
// ones; beyond ReducibleLimit, NaN and infinities go to the C library.
[[gnu::noinline]] long double SinOfFar(long double x)
{
    return std::fabs(x) < ReducibleLimit ? SinOfReduced(ReduceSteps(x)) : std::sin(x);
}

[[gnu::noinline]] long double CosOfFar(long double x)
{
    return std::fabs(x) < ReducibleLimit ? CosOfReduced(ReduceSteps(x)) : std::cos(x);
}

// ---- e^x ----

// Beyond this e^x leaves the normal range (or comes close enough to its
// ends that the scaling below could round twice).
constexpr long double ExpLimit = 11350.0L;

// 2^(n/64) · e^(r.Hi + r.Lo) for |r| <= ln 2/128 (a little more is harmless)
// and a normal result: 2^(n/64) = 2^k · 2^(j/64) with j from the table.
long double ScaledExp(std::int64_t n, TWide r)
{
    // e^r − 1, its leading term kept apart from the rounding of the rest.
    const long double z = r.Hi * r.Hi;
    const long double expm1 = r.Hi + (r.Lo + z * (0.5L + r.Hi * Polynomial(r.Hi, ExpCoefficients)));
    const TTableWide& t = PowersOfTwo64ths[n & 63];
    const long double m = t.Hi + (t.Lo + t.Hi * expm1);
    return m * TwoToThe(static_cast<int>(n >> 6));
}

// e^(hi + lo) for |hi| <= ExpLimit, |lo| about an ulp of hi at most:
// hi + lo = n · ln 2/64 + r with |r| <= ln 2/128.
long double ExpWide(long double hi, long double lo)
{
    const std::int64_t n = RoundToInt64(hi * SixtyFourOverLn2);
    const long double nf = static_cast<long double>(n);
    // hi − n·Ln2By64Hi is exact; what the second part and lo add is kept apart.
    return ScaledExp(n, TwoSum(hi - nf * Ln2By64Hi, lo - nf * Ln2By64Lo));
}

// The same limit for 2^x.
constexpr long double Exp2Limit = 16370.0L;

// 2^(hi + lo) for |hi| <= Exp2Limit: hi + lo = n/64 + f with |f| <= 1/128,
// hi − n/64 exact, and 2^f = e^(f·ln 2).
long double Exp2Wide(long double hi, long double lo)
{
    const std::int64_t n = RoundToInt64(hi * 64.0L);
    const long double f = hi - static_cast<long double>(n) * 0.015625L;
    // f is 0 or at least an ulp of hi, twice lo: the sum is ordered.
    return ScaledExp(n, FastTwoSum(f * Ln2, f * Ln2Rest + lo * Ln2));
}

// ---- ln x ----

// x = Mantissa · 2^Exponent with 1 <= |Mantissa| < 2 for a finite x ≠ 0 (a
// subnormal x too, with an Exponent below −16382); computed in the
// registers, where taking the bits apart would go through memory.
struct TExtracted {
    long double Mantissa;
    long double Exponent;
};
inline TExtracted Extract(long double x)
{
    TExtracted e;
    asm("fxtract" : "=t"(e.Mantissa), "=u"(e.Exponent) : "0"(x));
    return e;
}

// Decided on the parts, which avoids loading the 80-bit limits.
bool IsPositiveNormal(TExtracted x)
{
    return x.Mantissa >= 1.0L && x.Mantissa < 2.0L && x.Exponent >= -16382.0L;
}

// ln x of a positive normal x in two parts. x = 2^e · m with m near 1
// (in [√½, √2)), m = c·(1 + r) with 1/c from the table, and
// ln x = e·ln 2 − ln(1/c) + ln(1 + r). r comes out exactly: m is cut into a
// part of 54 bits and a rest, whose products with the 10-bit reciprocal are
// exact. With Wide the square term of the series is exact as well, which the
// powers need: they multiply the logarithm by exponents of any size.
template <bool Wide>
TWide LnParts(TExtracted x)
{
    // The 7 fraction bits after the leading 1: floor((mantissa − 1)·128), the
    // subtraction exact. (On a tie the even neighbour is as good a table point.)
    const std::int64_t j = RoundToInt64(x.Mantissa * 128.0L - 128.5L);
    const bool aboveRoot2 = j >= 53;
    const long double m = aboveRoot2 ? 0.5L * x.Mantissa : x.Mantissa;
    const long double ef = aboveRoot2 ? x.Exponent + 1.0L : x.Exponent;

    const TLogEntry& t = LogTable[j];
    // m rounded to a multiple of 2^−53: at most 54 bits for m < 2.
    constexpr double Shift = 1536.0L;
    const long double mHi = (m + Shift) - Shift;
    const TWide r = TwoSum(mHi * t.Inverse - 1.0L, (m - mHi) * t.Inverse);

    const long double cubic = r.Hi * r.Hi * r.Hi * Polynomial(r.Hi, LnCoefficientsHead, LnCoefficientsTail);
    const TWide s = FastTwoSum(ef * Ln2Hi, t.LnHi);
    const TWide u = FastTwoSum(s.Hi, r.Hi);
    const long double small = ef * Ln2Lo + t.LnLo + s.Lo + u.Lo + r.Lo - r.Hi * r.Lo + cubic;
    if constexpr (Wide) {
        const TWide halfSquare = TwoProduct(r.Hi, 0.5L * r.Hi);
        const TWide v = FastTwoSum(u.Hi, -halfSquare.Hi);
        return FastTwoSum(v.Hi, (small - halfSquare.Lo) + v.Lo);
    } else {
        return {u.Hi + (small - 0.5L * r.Hi * r.Hi), 0.0L};
    }
}

} // namespace

long double SinL(long double x)
{
    const long double m = std::fabs(x);
    if (m <= QuarterPi)
        return QuarterSin(x);
    if (m < NearLimit) [[likely]]
        return SinOfReduced(ReduceNearSteps(x));
    return SinOfFar(x);
}

long double CosL(long double x)
{
    const long double m = std::fabs(x);
    if (m <= QuarterPi)
        return QuarterCos(x);
    if (m < NearLimit) [[likely]]
        return CosOfReduced(ReduceNearSteps(x));
    return CosOfFar(x);
}

// Two reductions cost less than keeping the values that the sine and the
// cosine share in the x87's eight registers.
TSinCos SinCosL(long double x)
{
    return {SinL(x), CosL(x)};
}

long double SinDegreesL(long double degrees)
{
    return SinOfReduced(ReduceDegrees(degrees));
}

long double CosDegreesL(long double degrees)
{
    return CosOfReduced(ReduceDegrees(degrees));
}

TSinCos SinCosDegreesL(long double degrees)
{
    return {SinDegreesL(degrees), CosDegreesL(degrees)};
}

long double ExpL(long double x)
{
    if (!(std::fabs(x) <= ExpLimit))
        return std::exp(x);
    return ExpWide(x, 0.0L);
}

long double LnL(long double x)
{
    const TExtracted parts = Extract(x);
    if (!IsPositiveNormal(parts))
        return std::log(x);
    return LnParts<false>(parts).Hi;
}

long double PowL(long double a, long double b)
{
    if (a == 2.0L)
        return std::fabs(b) <= Exp2Limit ? Exp2Wide(b, 0.0L) : std::pow(a, b);
    const TExtracted parts = Extract(a);
    // Exponents beyond 2^16000 could overflow the splitting of b.
    if (!IsPositiveNormal(parts) || !(std::fabs(b) < 0x1P16000L))
        return std::pow(a, b);
    // Powers of two need no logarithm.
    if (parts.Mantissa == 1.0L) {
        const TWide y = TwoProduct(b, parts.Exponent);
        if (!(std::fabs(y.Hi) <= Exp2Limit))
            return std::pow(a, b);
        return Exp2Wide(y.Hi, y.Lo);
    }
    const TWide ln = LnParts<true>(parts);
    const TWide p = TwoProduct(b, ln.Hi);
    const TWide y = FastTwoSum(p.Hi, p.Lo + b * ln.Lo);
    if (!(std::fabs(y.Hi) <= ExpLimit))
        return std::pow(a, b);
    return ExpWide(y.Hi, y.Lo);
}
