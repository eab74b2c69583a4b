#include "anniversaries/rows.h"

#include "core/global.h"
#include "core/myunit.h"
#include "platform/cp949.h"
#include "platform/dialogs.h"
#include "platform/textprinter.h"

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }
const Qt::Alignment Centre = Qt::AlignCenter;
const Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
} // namespace

QString FamilyRowsSelect()
{
    return S("SELECT Family.TDAY, Master.HNAME, Family.REL, Family.NAME, Master.TEL1, Family.BDAY, Family.L, "
             "Family.JOB, (Master.ADDR1 || ' ' ) || Master.ADDR2 ADDR, Master.ZIP, Master.INO ")
         + S("FROM \"Family.DB\" Family ") + S("INNER JOIN \"Master.DB\" Master ")
         + S("ON  (Family.INO = Master.INO) ");
}

FieldDef MemberDayDef(const char *field)
{
    const bool wedding = qstrcmp(field, "Mday") == 0;
    FieldDef f;
    f.name = QString::fromLatin1(field);
    f.label = wedding ? S("결혼기념일") : S("금년생일");
    f.size = wedding ? 8 : 4;
    f.mask = wedding ? QStringLiteral("9999.99.99;0;_") : QStringLiteral("99.99;0;_");
    return f;
}

QList<DBGrid::Column> FamilyDayColumns(bool tdayFirst)
{
    const DBGrid::Column tday{QStringLiteral("TDAY"), S("금년생일"), Centre, 60};
    QList<DBGrid::Column> c;
    if (tdayFirst)
        c << tday;
    // Names are sized from their fields, as the list grids are, so that Latin ones show whole.
    c << DBGrid::Column{QStringLiteral("HNAME"), S("세대주명"), Left} << DBGrid::Column{QStringLiteral("REL"), S("관계"), Centre}
      << DBGrid::Column{QStringLiteral("NAME"), S("성명"), Left} << DBGrid::Column{QStringLiteral("BDAY"), S("생년월일"), Centre, 78}
      << DBGrid::Column{QStringLiteral("L"), S("력"), Centre, 26};
    if (tdayFirst)
        c << DBGrid::Column{QStringLiteral("ADDR"), S("주    소"), Left, 260} << DBGrid::Column{QStringLiteral("TEL1"), S("전화번호"), Left, 112};
    else
        c << tday << DBGrid::Column{QStringLiteral("TEL1"), S("전화번호"), Left, 112} << DBGrid::Column{QStringLiteral("ADDR"), S("주    소"), Left, 260};
    c << DBGrid::Column{QStringLiteral("ZIP"), S("우편번호"), Centre, 64};
    return c;
}

QString FamilyPrintLine(const QStringList &values)
{
    static const int widths[] = {8, 10, 6, 10, 14, 14, 69};
    QStringList cells;
    for (int i = 0; i < 7; ++i) {
        const QString v = values.value(i);
        // Widths count display positions (Hangul two); a longer value runs on rather than lose text.
        cells << v + QString(std::max(0, widths[i] - cp949::byteLength(v)), QLatin1Char(' '));
    }
    return cells.join(QLatin1Char(' '));
}

void PrintFamilyBirthdays(Query &rows, DBGrid *grid, const QString &title)
{
    if (MessageBox(S("인쇄할 준비가 되었으면 확인을 누르세요."), S("생일자 인쇄"), MsgButtons::OkCancel,
                   MsgIcon::Question) != IDOK)
        return;
    TextPrinter printer;
    printer.open(S("생일자 인쇄"));
    ControlsDisabled still(rows);
    const auto value = [&rows](const char *field) { return rows.fieldByName(QString::fromLatin1(field)).asString(); };
    const QString rule(99, QLatin1Char('-'));
    printer.setFont({S("굴림체"), 14, true});
    printer.writeLine(title);
    // A padded row runs past the width of a portrait page at 10 points; the rows stay one line each.
    printer.setFont(printer.fitting({S("바탕체"), 10, false}, FamilyPrintLine({})));
    printer.writeLine(rule);
    printer.writeLine(FamilyPrintLine({S("금년생일"), S("세대주명"), S("관계"), S("성명"), S("생년월일(력)"), S("자택전화"),
                                       S("자택주소(우편번호)")}));
    printer.writeLine(rule);
    for (rows.first(); !rows.eof(); rows.next())
        printer.writeLine(FamilyPrintLine(
            {ApplyTextMask(value("TDAY"), QStringLiteral("##.##")), value("HNAME"), value("REL"), value("NAME"),
             ApplyTextMask(value("BDAY"), QStringLiteral("####.##.##")) + u'(' + value("L") + u')', value("TEL1"),
             value("ADDR") + u'(' + ApplyTextMask(value("ZIP"), QStringLiteral("###-###")) + u')'}));
    printer.writeLine(rule);
    printer.writeLine(QString(76, QLatin1Char(' ')) + S("Printed By 켈모누리 3.0"));
    printer.close();
    grid->clearSelectedRows();
}
