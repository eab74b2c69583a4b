#include "platform/cp949.h"

#include <QHash>
#include <QStringView>

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {
// One conversion direction, opened on first use and kept per thread (an iconv_t must not be
// shared between threads).
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts in, calling onBad(out, rest) at every sequence that cannot be converted;
    // onBad returns how many input bytes to skip.
    template<typename OnBad>
    QByteArray convert(const QByteArray &in, OnBad onBad)
    {
        QByteArray out;
        if (!valid())
            return out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char *src = const_cast<char *>(in.constData());
        size_t srcLeft = size_t(in.size());
        char buffer[1024];
        while (srcLeft > 0) {
            char *dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            out.append(buffer, qsizetype(dst - buffer));
            if (r != size_t(-1))
                break;
            if (err == E2BIG)
                continue;
            // EILSEQ or EINVAL (a sequence cut short at the end)
            const size_t skip = std::min(srcLeft, size_t(onBad(out, src, srcLeft)));
            src += skip;
            srcLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        char *dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, qsizetype(dst - buffer));
        return out;
    }

private:
    iconv_t m_cd;
};

Converter &encoder()
{
    thread_local Converter c("CP949", "UTF-8");
    return c;
}

Converter &decoder()
{
    thread_local Converter c("UTF-8", "CP949");
    return c;
}

bool isHangulSyllable(char32_t c)
{
    return c >= 0xAC00 && c <= 0xD7A3;
}

// Length of the UTF-8 sequence starting with lead (1 for a stray byte).
int utf8Length(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// Bytes of one code point in code page 949, 0 when it has none.
int encodedLength(char32_t c)
{
    if (c < 0x80)
        return 1;
    if (isHangulSyllable(c))
        return 2;
    if (c >= 0xD800 && c <= 0xDFFF) // a lone surrogate
        return 0;
    thread_local QHash<char32_t, int> known;
    const auto it = known.constFind(c);
    if (it != known.cend())
        return *it;
    bool bad = false;
    const QByteArray bytes = encoder().convert(QString::fromUcs4(&c, 1).toUtf8(),
                                               [&bad](QByteArray &, const char *, size_t) {
                                                   bad = true;
                                                   return size_t(4);
                                               });
    const int length = bad ? 0 : int(bytes.size());
    known.insert(c, length);
    return length;
}

// Walks the code points of text; a lone surrogate comes out as itself.
template<typename Visit>
void forEachCodePoint(const QString &text, Visit visit)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            if (!visit(QChar::surrogateToUcs4(c, text.at(i + 1)), i, 2))
                return;
            i += 2;
        } else {
            if (!visit(char32_t(c.unicode()), i, 1))
                return;
            ++i;
        }
    }
}
} // namespace

int cp949::byteLength(const QString &text)
{
    int bytes = 0;
    forEachCodePoint(text, [&bytes](char32_t c, qsizetype, int) {
        const int length = encodedLength(c);
        bytes += length == 0 ? 2 : length;
        return true;
    });
    return bytes;
}

QString cp949::cutToBytes(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    forEachCodePoint(text, [&](char32_t c, qsizetype at, int units) {
        const int length = encodedLength(c);
        bytes += length == 0 ? 2 : length;
        if (bytes > maxBytes)
            return false;
        end = at + units;
        return true;
    });
    return text.left(end);
}

bool cp949::canEncode(const QString &text)
{
    bool ok = true;
    forEachCodePoint(text, [&ok](char32_t c, qsizetype, int) {
        ok = encodedLength(c) != 0;
        return ok;
    });
    return ok;
}

QString cp949::decode(const QByteArray &bytes, bool *valid)
{
    bool bad = false;
    const QByteArray utf8 = decoder().convert(bytes, [&bad](QByteArray &out, const char *, size_t) {
        bad = true;
        out.append("\xEF\xBF\xBD"); // U+FFFD
        return size_t(1);
    });
    if (valid)
        *valid = !bad;
    return QString::fromUtf8(utf8);
}

QByteArray cp949::encode(const QString &text)
{
    // Substituting first keeps every character at the width byteLength gives it.
    QString encodable;
    encodable.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c, qsizetype at, int units) {
        if (encodedLength(c) == 0)
            encodable += QLatin1String("??");
        else
            encodable += QStringView(text).mid(at, units);
        return true;
    });
    return encoder().convert(encodable.toUtf8(), [](QByteArray &out, const char *at, size_t) {
        out.append("??");
        return size_t(utf8Length(static_cast<unsigned char>(*at)));
    });
}

QString cp949::padRight(const QString &text, int bytes)
{
    QString result = cutToBytes(text, bytes);
    const int length = byteLength(result);
    if (length < bytes)
        result += QString(bytes - length, QLatin1Char(' '));
    return result;
}
