#include "model/ElementaryKernels.h"

#include "model/Numeric.h"

#include <bit>
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

// A table value in two parts, the second one short.
struct TTableWide {
    long double Hi;
    double Lo;
};

// An entry of the logarithm table of ln x: a short reciprocal and minus its
// logarithm in two parts, the first a multiple of 2^−48.
struct TLnEntry {
    double Inverse;
    double Ln;
    double LnRest;
};

// A table value in three parts: two of 32 bits and the rest.
struct TSineEntry {
    double Hi;
    double Mid;
    double Lo;
};

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
// For the 7 fraction bits j of a mantissa m in [1, 2): the reciprocal c of
// the middle of m's interval (halved for j >= 53, m >= √2, whose logarithm
// takes one ln 2 more), at most 10 significant bits so that products with it
// stay exact, exactly 1 and ½ for the two intervals that touch 1, so that
// ln x near 1 loses nothing; then −ln c rounded to a multiple of 2^−48 (so
// that adding it to e·Ln2Hi is exact) and the rest.
constexpr TLnEntry LnTable[128] = {
    {Short(0x1P+0L), Short(0.0L), Short(0.0L)},
    {Short(0x1FAP-9L), Short(0x182448A388AP-47L), Short(0x155104B16137F1P-102L)},
    {Short(0x1F6P-9L), Short(0x1432A925980CP-50L), Short(0x18139928637FDFP-103L)},
    {Short(0x1F28P-13L), Short(0x1B5CC258B718P-50L), Short(0x1CC23715F7FD03P-103L)},
    {Short(0x1EE8P-13L), Short(0x11CE5A62BC36P-49L), Short(-0x18CE1C9C8199DBP-102L)},
    {Short(0x1EBP-9L), Short(0x15715C4C03CEP-49L), Short(0x1DDC880EE275FDP-102L)},
    {Short(0x1E78P-13L), Short(0x191B073EFD74P-49L), Short(-0x1D7C53F76CA95BP-102L)},
    {Short(0x1E38P-13L), Short(0x1D52ED6405D8P-49L), Short(0x1BD16AEB2214C9P-103L)},
    {Short(0x1EP-5L), Short(0x108598B59E3AP-48L), Short(0x1A228FF66FD40DP-106L)},
    {Short(0x1DC8P-13L), Short(0x126536C3D8C3P-48L), Short(0x1A5D604BE2DD17P-102L)},
    {Short(0x1D9P-9L), Short(0x14485E03DBEP-44L), Short(-0x14AE45CB655244P-102L)},
    {Short(0x1D6P-9L), Short(0x15E95A4D9792P-48L), Short(-0x1A418F17474776P-103L)},
    {Short(0x1D28P-13L), Short(0x17D33687C294P-48L), Short(-0x1BB9E0C7CC7CE1P-103L)},
    {Short(0x1CFP-9L), Short(0x19C0C32D4D25P-48L), Short(0x120FD85F1E660BP-102L)},
    {Short(0x1CCP-9L), Short(0x1B6AC88DAD5BP-48L), Short(0x1BDFF50225C6B5P-104L)},
    {Short(0x1C88P-13L), Short(0x1D5F55659211P-48L), Short(-0x1DC633E7AB96AEP-104L)},
    {Short(0x1C58P-13L), Short(0x1F0F70CDD993P-48L), Short(-0x1CE093D8D3E236P-104L)},
    {Short(0x1C28P-13L), Short(0x106135354D4BP-47L), Short(0x1823141A0774A7P-103L)},
    {Short(0x1BF8P-13L), Short(0x113C2605C399P-47L), Short(-0x1EBFBB29ECA117P-102L)},
    {Short(0x1BC8P-13L), Short(0x12188FD980728P-51L), Short(-0x1D0F3FA8638093P-103L)},
    {Short(0x1B98P-13L), Short(0x12F677CBBC0A8P-51L), Short(0x159810B07A06ABP-103L)},
    {Short(0x1B68P-13L), Short(0x13D5E3126BC28P-51L), Short(-0x1341EBDA4ED3ABP-108L)},
    {Short(0x1B38P-13L), Short(0x14B6D6FEFE228P-51L), Short(0x122ECF56E7951BP-102L)},
    {Short(0x1B08P-13L), Short(0x159958FF1D53P-47L), Short(-0x1D059769CA052CP-104L)},
    {Short(0x1AD8P-13L), Short(0x167D6E9D78578P-51L), Short(-0x1E8830A706D2FEP-104L)},
    {Short(0x1ABP-9L), Short(0x173CB9074FD18P-51L), Short(-0x19AA434001699EP-102L)},
    {Short(0x1A8P-9L), Short(0x1823C16551A4P-47L), Short(-0x1F224659CE17CFP-102L)},
    {Short(0x1A58P-13L), Short(0x18E588EBAC2D8P-51L), Short(0x1F572ACB445002P-102L)},
    {Short(0x1A3P-9L), Short(0x19A8778DEBAAP-47L), Short(0x1C3E8FBFB0E3F1P-102L)},
    {Short(0x1AP-5L), Short(0x1A93ED3C8ADAP-47L), Short(-0x1C90D415885A38P-103L)},
    {Short(0x19D8P-13L), Short(0x1B5971A213ADP-47L), Short(-0x12BC5F155B885FP-102L)},
    {Short(0x19BP-9L), Short(0x1C2028AB17F98P-51L), Short(0x1A3E235470A74CP-102L)},
    {Short(0x1988P-13L), Short(0x1CE816157F198P-51L), Short(0x1F545DF66AEB42P-105L)},
    {Short(0x196P-9L), Short(0x1DB13DB0D4898P-51L), Short(-0x1FE55EE2B60693P-102L)},
    {Short(0x1938P-13L), Short(0x1E7BA35EB77EP-47L), Short(0x15088EE4364DBBP-102L)},
    {Short(0x191P-9L), Short(0x1F474B134DF2P-47L), Short(0x146D8388212895P-102L)},
    {Short(0x18E8P-13L), Short(0x100A1C6ADDA48P-50L), Short(-0x19394BBA30F42CP-103L)},
    {Short(0x18CP-9L), Short(0x107138604D588P-50L), Short(-0x1D8C93A44AC5BBP-102L)},
    {Short(0x1898P-13L), Short(0x10D8FB813EB2P-46L), Short(-0x1173778AC05CAFP-102L)},
    {Short(0x1878P-13L), Short(0x112C77CD00714P-50L), Short(-0x135ADD7B821A2FP-104L)},
    {Short(0x185P-9L), Short(0x11956D3B9BC3P-46L), Short(-0x168462972AF5EAP-104L)},
    {Short(0x1828P-13L), Short(0x11FF0FE7CF47CP-50L), Short(-0x18A92BB003CFAFP-102L)},
    {Short(0x1808P-13L), Short(0x125410494E56CP-50L), Short(0x1D7AC0EF77F253P-104L)},
    {Short(0x17EP-9L), Short(0x12BEF07CDC934P-50L), Short(0x139F494A009E7EP-102L)},
    {Short(0x17CP-9L), Short(0x1314F1E1D35DP-46L), Short(-0x1C4F5A6427970FP-102L)},
    {Short(0x1798P-13L), Short(0x13811728564CCP-50L), Short(-0x1C7924E81C0AC9P-103L)},
    {Short(0x1778P-13L), Short(0x13D81FB5946DCP-50L), Short(-0x163E154E9BD1C9P-104L)},
    {Short(0x1758P-13L), Short(0x142F9F3FF6264P-50L), Short(0x19103DF4CD5115P-106L)},
    {Short(0x1738P-13L), Short(0x1487970E95878P-50L), Short(-0x1F23DCD186D05AP-103L)},
    {Short(0x171P-9L), Short(0x14F637EBBA98P-46L), Short(0x1F539A676DA36EP-103L)},
    {Short(0x16FP-9L), Short(0x154F431B7BE1CP-50L), Short(-0x176AB3F6EF6AE4P-102L)},
    {Short(0x16DP-9L), Short(0x15A8CADBBEDFCP-50L), Short(-0x1F1E6C2BDFB3EP-98L)},
    {Short(0x16BP-9L), Short(0x1602D08AF092P-46L), Short(-0x1416E8920C09B7P-102L)},
    {Short(0x169P-9L), Short(-0x15FF3070A793CP-50L), Short(-0x13C873E20A0721P-102L)},
    {Short(0x167P-9L), Short(-0x15A42AB0F4DP-42L), Short(0x1E63AF2DF7BA69P-102L)},
    {Short(0x165P-9L), Short(-0x1548A2C3ADD28P-50L), Short(0x1D30339EFC611CP-102L)},
    {Short(0x163P-9L), Short(-0x14EC973260028P-50L), Short(0x1650AA1F65DF71P-102L)},
    {Short(0x1618P-13L), Short(-0x14A7373CECF98P-50L), Short(-0x1772C5032AEDAFP-102L)},
    {Short(0x15F8P-13L), Short(-0x144A41B463C48P-50L), Short(0x11D70C8309EDDP-100L)},
    {Short(0x15D8P-13L), Short(-0x13ECC460EF5F4P-50L), Short(-0x1FD79D83ECFF0AP-103L)},
    {Short(0x15B8P-13L), Short(-0x138EBDB38ED34P-50L), Short(0x1F4FA330566BF4P-102L)},
    {Short(0x15AP-9L), Short(-0x1347DD9A987D4P-50L), Short(-0x14D645674FEDCCP-102L)},
    {Short(0x158P-9L), Short(-0x12E8E2BAE11D4P-50L), Short(0x1EC7A66DCAF5FP-99L)},
    {Short(0x156P-9L), Short(-0x12895A13DE86CP-50L), Short(0x1CA14B6CFB03FP-98L)},
    {Short(0x1548P-13L), Short(-0x1241558BFD14P-46L), Short(-0x1FFE6451F95A38P-105L)},
    {Short(0x1528P-13L), Short(-0x11E0D0C33716CP-50L), Short(0x1C35593CAD8034P-106L)},
    {Short(0x151P-9L), Short(-0x11980D2DD4238P-50L), Short(0x1098B0B93C6CBBP-102L)},
    {Short(0x14FP-9L), Short(-0x1136870293A8CP-50L), Short(0x1F424CEB38916EP-103L)},
    {Short(0x14D8P-13L), Short(-0x10ED005F657DCP-50L), Short(0x1B8EA50B55005FP-102L)},
    {Short(0x14CP-9L), Short(-0x10A324E27391P-46L), Short(0x1CA08C085FE79P-98L)},
    {Short(0x14AP-9L), Short(-0x10402594B4D04P-50L), Short(-0x1B5C4F7A16BF75P-107L)},
    {Short(0x1488P-13L), Short(-0x1FEB0233E608P-47L), Short(0x19D239A542E71FP-102L)},
    {Short(0x147P-9L), Short(-0x1F550A564B7BP-47L), Short(-0x1B838BEDBFA032P-102L)},
    {Short(0x145P-9L), Short(-0x1E8C0252AA5A8P-51L), Short(0x100B701D1CDFE4P-102L)},
    {Short(0x1438P-13L), Short(-0x1DF46C0C722DP-47L), Short(-0x17A0AC2DE40E46P-102L)},
    {Short(0x142P-9L), Short(-0x1D5C216B4FBB8P-51L), Short(-0x115B910D65F935P-103L)},
    {Short(0x1408P-13L), Short(-0x1CC320C01765P-47L), Short(-0x120734CA6F2751P-106L)},
    {Short(0x13FP-9L), Short(-0x1C2968558C19P-47L), Short(0x1FAE7BDC7147F7P-102L)},
    {Short(0x13D8P-13L), Short(-0x1B8EF670420CP-47L), Short(-0x1D4CCC85E23803P-102L)},
    {Short(0x13CP-9L), Short(-0x1AF3C94E80CP-43L), Short(0x1A4E633FCD9066P-104L)},
    {Short(0x13A8P-13L), Short(-0x1A57DF28244EP-47L), Short(0x198DCD78995127P-102L)},
    {Short(0x139P-9L), Short(-0x19BB362E7DFB8P-51L), Short(-0x1AAEBC63E007C2P-106L)},
    {Short(0x1378P-13L), Short(-0x191DCC8C340CP-47L), Short(0x10E55088402E8EP-102L)},
    {Short(0x136P-9L), Short(-0x187FA06520C9P-47L), Short(-0x10902009017DCAP-103L)},
    {Short(0x1348P-13L), Short(-0x17E0AFD630C28P-51L), Short(0x1860F89C3BF30EP-104L)},
    {Short(0x133P-9L), Short(-0x1740F8F540378P-51L), Short(-0x1264D9BF9D57B3P-102L)},
    {Short(0x1318P-13L), Short(-0x16A079D0F7ABP-47L), Short(0x1701EEDCBAC2A8P-102L)},
    {Short(0x13P-5L), Short(-0x15FF3070A794P-47L), Short(0x161BC60EFAFC6FP-102L)},
    {Short(0x12E8P-13L), Short(-0x155D1AD4232D8P-51L), Short(0x1135912CDC0C1P-99L)},
    {Short(0x12D8P-13L), Short(-0x14F099F4A2308P-51L), Short(-0x19034140543649P-102L)},
    {Short(0x12CP-9L), Short(-0x144D2B6CCB7DP-47L), Short(-0x1E67D3D950F87EP-103L)},
    {Short(0x12A8P-13L), Short(-0x13A8EB2D31A38P-51L), Short(0x141220A8ABF099P-104L)},
    {Short(0x129P-9L), Short(-0x1303D718E48P-43L), Short(0x1680B5CE3ECB05P-102L)},
    {Short(0x128P-9L), Short(-0x129552F81FF5P-47L), Short(-0x11A602EE3880FBP-102L)},
    {Short(0x1268P-13L), Short(-0x11EED90E2DC3P-47L), Short(0x1EA9C8F689B70AP-102L)},
    {Short(0x125P-9L), Short(-0x1147858467428P-51L), Short(-0x163451027C74FEP-102L)},
    {Short(0x124P-9L), Short(-0x10D77E7CD08E8P-51L), Short(0x134CB44742DF9FP-102L)},
    {Short(0x1228P-13L), Short(-0x102EBB42BF3D8P-51L), Short(0x1A8FA5CE00E5C9P-102L)},
    {Short(0x1218P-13L), Short(-0x1F7B79FEC37EP-48L), Short(0x10987E897ED018P-103L)},
    {Short(0x12P-5L), Short(-0x1E27076E2AF3P-48L), Short(0x1A161578001E01P-104L)},
    {Short(0x11FP-9L), Short(-0x1D4313D66CB3P-48L), Short(-0x175790DD951D91P-102L)},
    {Short(0x11D8P-13L), Short(-0x1BEBA8181467P-48L), Short(-0x1921D248382A5FP-102L)},
    {Short(0x11C8P-13L), Short(-0x1B05B49BEE44P-48L), Short(0x1BA7CE0F6B435AP-108L)},
    {Short(0x11BP-9L), Short(-0x19AB42462034P-48L), Short(0x14C904CF0E0C27P-102L)},
    {Short(0x11AP-9L), Short(-0x18C345D6319BP-48L), Short(-0x107AD65A1532F7P-103L)},
    {Short(0x1188P-13L), Short(-0x1765BF23A6BEP-48L), Short(-0x1343FCA3BDA965P-104L)},
    {Short(0x1178P-13L), Short(-0x167BB0726EC1P-48L), Short(0x11B692C214DDBFP-106L)},
    {Short(0x1168P-13L), Short(-0x1590CAFDF01CP-48L), Short(-0x1427AB9155D4EEP-103L)},
    {Short(0x115P-9L), Short(-0x142EDCBEA647P-48L), Short(0x1F888AC1B299A5P-105L)},
    {Short(0x114P-9L), Short(-0x1341D7961BD2P-48L), Short(0x17B6B33E44F7D9P-103L)},
    {Short(0x113P-9L), Short(-0x1253F62F0A14P-48L), Short(-0x16F8FB69A700EDP-104L)},
    {Short(0x1118P-13L), Short(-0x10ED839B5527P-48L), Short(0x1F46D48ABB3BADP-108L)},
    {Short(0x1108P-13L), Short(-0x1FFAE9119B94P-49L), Short(0x1F9917B3A7558FP-102L)},
    {Short(0x10F8P-13L), Short(-0x1E19070C276P-45L), Short(-0x15B99B9D617A09P-105L)},
    {Short(0x10E8P-13L), Short(-0x1C355DD0922P-45L), Short(0x1A666CA80F8EF9P-102L)},
    {Short(0x10DP-9L), Short(-0x195C830EC8E4P-49L), Short(0x148297C5FEB7DP-101L)},
    {Short(0x10CP-9L), Short(-0x177458F632DCP-49L), Short(-0x1F88C69E543DC9P-102L)},
    {Short(0x10BP-9L), Short(-0x158A5BAFC8E4P-49L), Short(-0x1A918D51EA58EAP-102L)},
    {Short(0x10AP-9L), Short(-0x139E87B9FEBEP-49L), Short(0x140ADFD49BFAA9P-102L)},
    {Short(0x109P-9L), Short(-0x11B0D98923DAP-49L), Short(0x1007A6BA226EB1P-102L)},
    {Short(0x1078P-13L), Short(-0x1D91A66C543CP-50L), Short(-0x187C59633EE685P-103L)},
    {Short(0x1068P-13L), Short(-0x19ACE7551CC4P-50L), Short(-0x1144D027077E06P-102L)},
    {Short(0x1058P-13L), Short(-0x15C45A51B8D4P-50L), Short(0x1DDB10B6C3EC22P-104L)},
    {Short(0x1048P-13L), Short(-0x11D7F7EB9EECP-50L), Short(0x193A83FCC7A5B8P-106L)},
    {Short(0x1038P-13L), Short(-0x1BCF712C7438P-51L), Short(-0x12F04BDECBB85BP-105L)},
    {Short(0x1028P-13L), Short(-0x13E7295D25A8P-51L), Short(0x1383FE53422887P-106L)},
    {Short(0x1018P-13L), Short(-0x17EE11EBD83P-48L), Short(0x16C587A5B8BF17P-104L)},
    {Short(0x1P-1L), Short(0.0L), Short(0.0L)},
};
// From this entry on, c is halved.
constexpr unsigned AboveRootTwo = 53;
// (ln(1 + r) − r + r²/2) / r³ on −0.00425 <= r <= 0.00785, the range of
// m·c − 1: degree 6, error below 2^−69 of ln(1 + r). The leading
// coefficient, 1/3, needs 64 bits.
constexpr long double LnSeriesLead = 0xAAAAAAAAAAAAAAABP-65L;
constexpr double LnSeries[] = {
    Short(-0x1FFFFFFFFFFFF6P-55L), Short(0x19999999996FFP-51L),
    Short(-0x15555555724CF7P-55L), Short(0x124924E172D2F2P-55L), Short(-0x1FFFF9F37F266AP-56L),
    Short(0x1C201DC38DE9AFP-56L),
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

// The sign and exponent field and the mantissa of x, read apart: read
// whole, x would first be copied through an 80-bit store.
struct TFields {
    unsigned SignAndExponent;
    std::uint64_t Mantissa; // with the explicit leading 1

    bool IsPositiveNormal() const { return SignAndExponent - 1u < 0x7FFEu; }
    // x = 2^Exponent · m, 1 <= m < 2, for a positive normal x.
    int Exponent() const { return static_cast<int>(SignAndExponent) - ExponentBias; }
    // The 7 bits of m after its leading 1, the index of the logarithm table.
    unsigned LeadingFraction() const { return static_cast<unsigned>(Mantissa >> 56) & 127u; }
};
inline TFields FieldsOf(const long double& x)
{
    std::uint64_t mantissa;
    std::uint16_t signAndExponent;
    std::memcpy(&mantissa, &x, sizeof mantissa);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&x) + sizeof mantissa, sizeof signAndExponent);
    return {signAndExponent, mantissa};
}

// 2^k for a normal exponent (−16382 <= k <= 16383), built from its bits
// (stored apart, as FieldsOf reads them).
inline long double TwoToThe(int k)
{
    constexpr std::uint64_t mantissa = std::uint64_t{1} << 63;
    const auto signAndExponent = static_cast<std::uint16_t>(k + ExponentBias);
    long double v;
    std::memcpy(&v, &mantissa, sizeof mantissa);
    std::memcpy(reinterpret_cast<char*>(&v) + sizeof mantissa, &signAndExponent, sizeof signAndExponent);
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
    // The power of two first: built through memory, it is ready by the end.
    const long double scale = TwoToThe(static_cast<int>(n >> 6));
    // e^r − 1, its leading term kept apart from the rounding of the rest.
    const long double z = r.Hi * r.Hi;
    const long double expm1 = r.Hi + (r.Lo + z * (0.5L + r.Hi * Polynomial(r.Hi, ExpCoefficients)));
    const TTableWide& t = PowersOfTwo64ths[n & 63];
    const long double m = t.Hi + (t.Lo + t.Hi * expm1);
    return m * scale;
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

// The mantissa of a finite x ≠ 0, in [1, 2) in magnitude, taken apart in
// the registers.
inline long double MantissaOf(long double x)
{
    long double mantissa, exponent;
    asm("fxtract" : "=t"(mantissa), "=u"(exponent) : "0"(x));
    return mantissa;
}

// ln x for x = 2^e · m, m in [1, 2) and j the 7 fraction bits after its
// leading 1: m·c = 1 + r with c from the table, and
// ln x = (e + k)·ln 2 − ln c + ln(1 + r), k = 1 where c was halved. r comes
// out exactly in two parts: m is cut into a part of 54 bits and a rest,
// whose products with the 10-bit c are exact, and (m54·c − 1) + rest·c is
// then exact in two parts (the first is exact, and either the larger or
// both within 2^−53). (e + k)·Ln2Hi − ln c is exact as well, and no smaller
// than 2^−7 unless it is 0, above |r|.
[[gnu::always_inline]] inline long double LnOfMantissa(long double m, int e, unsigned j)
{
    const TLnEntry& t = LnTable[j];
    // The series beyond its square term only needs r to 64 bits: it starts
    // from m·c − 1 rounded, while r is made exact.
    const long double rounded = m * t.Inverse - 1.0L;
    const long double ef = static_cast<long double>(e + static_cast<int>(j >= AboveRootTwo));
    // m rounded to a multiple of 2^−53: at most 54 bits for m < 2.
    constexpr double Shift = 1536.0L;
    const long double mHi = (m + Shift) - Shift;
    const long double r1 = mHi * t.Inverse - 1.0L;
    const long double r2 = (m - mHi) * t.Inverse;
    const long double r = r1 + r2;
    long double small = ef * Ln2Lo + t.LnRest;
    small += r2 - (r - r1);
    const TWide u = FastTwoSum(ef * Ln2Hi + t.Ln, r);
    small += u.Lo;
    small -= 0.5L * (r * r);
    const long double z = rounded * rounded;
    const double* c = LnSeries;
    long double p = (c[3] + rounded * c[4]) + z * c[5];
    p *= z * z;
    p += z * (c[1] + rounded * c[2]);
    p += LnSeriesLead + rounded * c[0];
    return u.Hi + (small + (rounded * z) * p);
}

// The same in two parts, for the powers, which multiply the logarithm by
// exponents of any size: r exactly in two parts, the square term exact, and
// a longer series.
TWide LnWide(long double m, int e, unsigned j)
{
    const TLnEntry& t = LnTable[j];
    const long double ef = static_cast<long double>(e + static_cast<int>(j >= AboveRootTwo));
    constexpr double Shift = 1536.0L;
    const long double mHi = (m + Shift) - Shift;
    const TWide r = TwoSum(mHi * t.Inverse - 1.0L, (m - mHi) * t.Inverse);
    const long double cubic = r.Hi * r.Hi * r.Hi * Polynomial(r.Hi, LnCoefficientsHead, LnCoefficientsTail);
    const TWide u = FastTwoSum(ef * Ln2Hi + t.Ln, r.Hi);
    const long double small = ef * Ln2Lo + t.LnRest + u.Lo + r.Lo - r.Hi * r.Lo + cubic;
    const TWide halfSquare = TwoProduct(r.Hi, 0.5L * r.Hi);
    const TWide v = FastTwoSum(u.Hi, -halfSquare.Hi);
    return FastTwoSum(v.Hi, (small - halfSquare.Lo) + v.Lo);
}

// ln x for what the common case leaves: normal x beyond 2^±1023 (their
// mantissa taken apart in the registers), and the others to the C library
// (x <= 0 gives −inf or NaN, NaN and infinities themselves).
[[gnu::noinline]] long double LnOfOther(long double x)
{
    const TFields bits = FieldsOf(x);
    if (!bits.IsPositiveNormal())
        return std::log(x);
    return LnOfMantissa(MantissaOf(x), bits.Exponent(), bits.LeadingFraction());
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

// The parts of x are read from its bits: x reaches the routine in memory,
// where the integer unit takes them at once. For 2^−1023 <= x < 2^1023,
// 2^−e is a double, and x times it the mantissa, exactly.
long double LnL(long double x)
{
    const TFields bits = FieldsOf(x);
    constexpr unsigned Lowest = ExponentBias - 1023;
    constexpr unsigned Highest = ExponentBias + 1022;
    // (Marked unlikely, this test would have x copied through memory first.)
    if (bits.SignAndExponent - Lowest > Highest - Lowest)
        return LnOfOther(x);
    const int e = bits.Exponent();
    const double scale = std::bit_cast<double>(static_cast<std::uint64_t>(1023 - e) << 52);
    return LnOfMantissa(x * scale, e, bits.LeadingFraction());
}

long double PowL(long double a, long double b)
{
    if (a == 2.0L)
        return std::fabs(b) <= Exp2Limit ? Exp2Wide(b, 0.0L) : std::pow(a, b);
    const TFields bits = FieldsOf(a);
    // Positive normal bases only; exponents beyond 2^16000 could overflow
    // the splitting of b.
    if (!bits.IsPositiveNormal() || !(std::fabs(b) < 0x1P16000L))
        return std::pow(a, b);
    const int e = bits.Exponent();
    // Powers of two need no logarithm.
    if (bits.Mantissa == std::uint64_t{1} << 63) {
        const TWide y = TwoProduct(b, static_cast<long double>(e));
        if (!(std::fabs(y.Hi) <= Exp2Limit))
            return std::pow(a, b);
        return Exp2Wide(y.Hi, y.Lo);
    }
    const TWide ln = LnWide(MantissaOf(a), e, bits.LeadingFraction());
    const TWide p = TwoProduct(b, ln.Hi);
    const TWide y = FastTwoSum(p.Hi, p.Lo + b * ln.Lo);
    if (!(std::fabs(y.Hi) <= ExpLimit))
        return std::pow(a, b);
    return ExpWide(y.Hi, y.Lo);
}
