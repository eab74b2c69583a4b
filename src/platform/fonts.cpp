#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace {

struct Substitute {
    const char *windowsName;
    const char *family;
};

constexpr char gothic[] = "NanumGothic";
constexpr char serif[] = "NanumMyeongjo";
constexpr char fixed[] = "NanumGothicCoding";

// Korean names with their English spellings, which older forms may carry.
constexpr Substitute table[] = {
    {"굴림", gothic},         {"Gulim", gothic},          {"돋움", gothic},
    {"Dotum", gothic},        {"MS Sans Serif", gothic},  {"System", gothic},
    {"바탕", serif},          {"Batang", serif},          {"궁서", serif},
    {"Gungsuh", serif},       {"굴림체", fixed},          {"GulimChe", fixed},
    {"돋움체", fixed},        {"DotumChe", fixed},        {"바탕체", fixed},
    {"BatangChe", fixed},     {"궁서체", fixed},          {"GungsuhChe", fixed},
    {"Fixedsys", fixed},      {"Courier New", fixed},
};

// Tried after the Nanum family, for a machine that lacks it.
QStringList fallbacks(const char *family)
{
    if (family == gothic)
        return {QStringLiteral("NanumBarunGothic"), QStringLiteral("Noto Sans CJK KR"),
                QStringLiteral("UnDotum")};
    if (family == serif)
        return {QStringLiteral("Noto Serif CJK KR"), QStringLiteral("UnBatang")};
    return {QStringLiteral("D2Coding"), QStringLiteral("Noto Sans Mono CJK KR")};
}

} // namespace

void InstallFontSubstitutes()
{
    for (const Substitute &s : table) {
        const QString name = QString::fromUtf8(s.windowsName);
        QFont::removeSubstitutions(name); // calling twice must not stack duplicates
        QFont::insertSubstitutions(name, QStringList{QString::fromLatin1(s.family)} +
                                             fallbacks(s.family));
    }
}

QFont ApplicationFont()
{
    // 8 points: the largest size at which the main window holds every field whole at its
    // smallest size; in points so that captions derived from it (bold, larger) scale alike.
    QFont font(QString::fromLatin1(gothic), 8);
    // Hinted at this size, the gothic's full stop grows a tail and dates read "1992,10,23".
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QString SubstituteFamily(const QString &family)
{
    const QString name = family.trimmed();
    for (const Substitute &s : table)
        if (QString::compare(name, QString::fromUtf8(s.windowsName), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(s.family);
    return family;
}
