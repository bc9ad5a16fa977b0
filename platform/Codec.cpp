#include "platform/Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <utility>

namespace platform::Codec {

namespace {

// ICU's Windows table: the NEC row 13 and IBM extensions encode as Windows chooses among their
// duplicate codes, and the NEC-selected IBM duplicates decode to the same characters.
constexpr const char* kCodecName = "windows-31j";

// Characters that other Japanese tables give to CP932 codes that Windows maps elsewhere.
constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
    {u'\u00A2', u'\uFFE0'}, // cent sign
    {u'\u00A3', u'\uFFE1'}, // pound sign
    {u'\u00A6', u'\uFFE4'}, // broken bar
    {u'\u00AC', u'\uFFE2'}, // not sign
    {u'\u2014', u'\u2015'}, // em dash
    {u'\u2016', u'\u2225'}, // double vertical line
    {u'\u2212', u'\uFF0D'}, // minus sign
    {u'\u301C', u'\uFF5E'}, // wave dash
};

std::atomic<int> g_encoderOpenings{0};

// Converters are opened once per thread: opening an ICU converter costs more than encoding a short file.
// QStringEncoder keeps its error flag for good, so the encoder clears it itself after each text that
// held an unwritable character. Never moved: ICU reports errors to the address of the state it was
// opened with.
class Cp932Encoder : public QStringEncoder
{
public:
    Cp932Encoder() : QStringEncoder(kCodecName, QStringConverter::Flag::Stateless) { ++g_encoderOpenings; }
    // True when the bytes just encoded hold every character; the flag is then clear for the next text.
    bool takeSuccess()
    {
        const bool success = !hasError();
        state.invalidChars = 0;
        return success;
    }
};

Cp932Encoder& encoder()
{
    thread_local Cp932Encoder enc;
    return enc;
}

QStringDecoder& decoder()
{
    thread_local QStringDecoder dec(kCodecName, QStringConverter::Flag::Stateless);
    return dec;
}

// Encodes one code point (one or two UTF-16 units); nothing when CP932 cannot hold it.
std::optional<QByteArray> encodeOne(QStringView unit)
{
    Cp932Encoder& enc = encoder();
    QByteArray bytes = enc.encode(unit);
    if (!enc.takeSuccess())
        return std::nullopt;
    return bytes;
}

// Length in UTF-16 units of the code point starting at i (a lone surrogate counts as one).
qsizetype codePointLength(QStringView text, qsizetype i)
{
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
}

} // namespace

QString mapLookAlikes(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const auto* it = std::find_if(std::begin(kLookAlikes), std::end(kLookAlikes),
                                      [c](const auto& pair) { return pair.first == c.unicode(); });
        if (it != std::end(kLookAlikes))
            c = QChar(it->second);
    }
    return result;
}

QByteArray toCp932(const QString& text)
{
    const QString mapped = mapLookAlikes(text);
    {
        Cp932Encoder& enc = encoder();
        QByteArray bytes = enc.encode(mapped);
        if (enc.takeSuccess())
            return bytes;
    }
    // Rare: something cannot be written. Encode piecewise so each such character becomes one '?'.
    QByteArray bytes;
    for (qsizetype i = 0; i < mapped.size();) {
        const qsizetype len = codePointLength(mapped, i);
        bytes += encodeOne(QStringView(mapped).sliced(i, len)).value_or(QByteArray("?"));
        i += len;
    }
    return bytes;
}

QString fromCp932(const QByteArray& bytes)
{
    return decoder().decode(bytes);
}

int byteLength(const QString& text)
{
    return int(toCp932(text).size());
}

int compareBytes(const QString& a, const QString& b)
{
    const QByteArray x = toCp932(a);
    const QByteArray y = toCp932(b);
    const size_t common = size_t(std::min(x.size(), y.size()));
    // memcmp compares as unsigned char, which is the order the programs sort by.
    if (const int r = common ? std::memcmp(x.constData(), y.constData(), common) : 0; r != 0)
        return r < 0 ? -1 : 1;
    return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

QString unwritableChars(const QString& text)
{
    const QString mapped = mapLookAlikes(text);
    QString result;
    for (qsizetype i = 0; i < mapped.size();) {
        const qsizetype len = codePointLength(mapped, i);
        const QStringView ch = QStringView(mapped).sliced(i, len);
        if (!result.contains(ch) && !encodeOne(ch))
            result += ch;
        i += len;
    }
    return result;
}

bool canEncode(const QString& text)
{
    Cp932Encoder& enc = encoder();
    // encode() converts lazily; the bytes must be taken for the error flag to be set.
    const QByteArray bytes = enc.encode(mapLookAlikes(text));
    return enc.takeSuccess();
}

int encoderOpenings()
{
    return g_encoderOpenings;
}

} // namespace platform::Codec
