#include "core/tables.h"

namespace {
const QString DateMask = QStringLiteral("!9999.!99.99;0;_");
const QString ZipMask = QStringLiteral("999-999;0;_");

FieldDef text(const char *name, int size, const char *label = "", const QString &mask = {},
              const QVariant &def = {})
{
    return FieldDef{QString::fromUtf8(name), FieldType::Text, size, QString::fromUtf8(label), mask,
                    def, true};
}
FieldDef logical(const char *name, const char *label = "", const QVariant &def = {})
{
    return FieldDef{QString::fromUtf8(name), FieldType::Logical, 0, QString::fromUtf8(label), {},
                    def, true};
}
FieldDef shortInt(const char *name, const char *label = "")
{
    return FieldDef{QString::fromUtf8(name), FieldType::Short, 0, QString::fromUtf8(label), {}, {},
                    true};
}
FieldDef memo(const char *name, int size, const char *label)
{
    return FieldDef{QString::fromUtf8(name), FieldType::Memo, size, QString::fromUtf8(label), {}, {},
                    true};
}
FieldDef graphic(const char *name, const char *label)
{
    return FieldDef{QString::fromUtf8(name), FieldType::Graphic, 0, QString::fromUtf8(label), {}, {},
                    true};
}
QVariant s(const char *v) { return QString::fromUtf8(v); }

TableDef master()
{
    TableDef t{QStringLiteral("MASTER"), QStringLiteral("MASTER.DB"), {}, {QStringLiteral("Ino")},
               {{QStringLiteral("Name_idx"), {QStringLiteral("Name")}},
                {QStringLiteral("Tel_idx"), {QStringLiteral("Tel1")}}}};
    t.fields = {
        text("Ino", 14),
        text("Name", 10, "성명"),
        text("Hname", 10, "한자"),
        text("X", 2, "성", {}, s("남")),
        text("Bday", 8, "생년월일", DateMask),
        text("L", 2, "력", {}, s("음")),
        text("Tday", 4, "", QStringLiteral("99.99;0;_")),
        logical("G", "", false),
        text("Gname", 10, "세대주명"),
        text("Grel", 6, "관계"),
        text("Tel1", 14, "전화번호1"),
        text("Tel2", 14, "전화번호2"),
        text("Hp", 14, "이동전화"),
        text("Bon", 50, "본적"),
        text("Addr1", 40, "자택주소"),
        text("Addr2", 40, "자택주소"),
        text("Zip", 6, "우편번호", ZipMask),
        text("Regno", 13, "주민등록번호", QStringLiteral("999999-9999999;0;_")),
        logical("M", "", false),
        text("Mday", 8, "결혼기념일", DateMask),
        text("Learn", 10, "학력"),
        text("Major", 20, "전공"),
        text("Hobby", 10, "취미"),
        text("Spec", 10, "특기"),
        text("Bl", 2, "혈액형"),
        text("Email", 40, "전자우편"),
        graphic("Pic", "개인사진"),
        graphic("Fpic", "가족사진"),
        memo("Fmemo", 240, "가족메모"),
        logical("R", "", true),
        text("Reg", 8, "등록일자", DateMask),
        text("Cur", 20, "등록경위"),
        text("Guide", 10, "인도자"),
        text("Zone", 10, "교구"),
        text("Area", 10, "구역"),
        text("Duty1", 20, "직분1"),
        text("Duty2", 20, "직분2"),
        text("Bigo", 20, "비고"),
        text("Part", 20, "소속기관"),
        text("Resp", 20, "기관직책"),
        text("Serve", 30, "봉사활동"),
        logical("S", "", false),
        text("Std", 8, "학습일자", DateMask),
        logical("B", "", false),
        text("Bap", 8, "세례일자", DateMask),
        logical("C", "", false),
        text("Chd", 8, "유세일자", DateMask),
        memo("Cmemo", 1, "교적메모"),
        text("Job", 30, "근무처"),
        text("Jkind", 10, "직종"),
        text("Jpart", 20, "부서"),
        text("Jduty", 20, "직급"),
        text("Jtel", 14, "직장전화"),
        text("Jfax", 14, "직장팩스"),
        text("Jaddr1", 40, "직장주소"),
        text("Jaddr2", 40, "직장주소"),
        text("Jzip", 6, "우편번호", ZipMask),
        memo("Jmemo", 240, "직장메모"),
        logical("Sel"),
        text("GNO", 14),
        text("BEFO", 30),
    };
    return t;
}

TableDef family()
{
    TableDef t{QStringLiteral("FAMILY"), QStringLiteral("FAMILY.DB"), {},
               {QStringLiteral("Ino"), QStringLiteral("Seq")}, {}};
    t.fields = {
        text("Ino", 14),
        shortInt("Seq"),
        text("Rel", 6, "관계"),
        text("Name", 10, "성명"),
        text("Bday", 8, "생년월일", DateMask),
        text("L", 2, "음"),
        text("TDAY", 4, "금년생일", QStringLiteral("99.99;0;_")),
        text("Learn", 10, "학력"),
        text("Job", 30, "근무처"),
        text("Jkind", 10, "직종"),
        text("Rlgn", 10, "종교"),
        logical("R", "등록"),
        text("Grade", 6, "신급"),
        text("Fbigo", 20, "비고"),
        logical("F"),
    };
    t.fields[10].visible = false; // religion is kept but never shown in the grids
    return t;
}

TableDef visit()
{
    TableDef t{QStringLiteral("VISIT"), QStringLiteral("VISIT.DB"), {},
               {QStringLiteral("Ino"), QStringLiteral("Vday"), QStringLiteral("Vtime")}, {}};
    t.fields = {
        text("Ino", 14),
        text("Vday", 8, "심방일자", DateMask),
        text("Vtime", 4, "심방시간", QStringLiteral("!99:99;0;_")),
        text("Leader", 10, "인도자"),
        shortInt("Fellow", "동행자수"),
        text("Place", 20, "장소"),
        memo("Content", 240, "내용"),
        memo("Result", 240, "결과"),
    };
    return t;
}

TableDef study()
{
    TableDef t{QStringLiteral("STUDY"), QStringLiteral("STUDY.DB"), {},
               {QStringLiteral("Ino"), QStringLiteral("Eday"), QStringLiteral("Eday2"),
                QStringLiteral("Ename")},
               {}};
    t.fields = {
        text("Ino", 14),
        text("Eday", 8, "일자", DateMask),
        text("Eday2", 8, "", DateMask),
        text("Ename", 40, "이력 내용"),
        text("Ebigo", 40, "비고"),
        memo("Result", 240, "이 력 메 모"),
    };
    return t;
}

TableDef zip()
{
    TableDef t{QStringLiteral("ZIP"), QStringLiteral("ZIP.DBF"), {}, {},
               {{QStringLiteral("ZADDR"), {QStringLiteral("ZADDR")}},
                {QStringLiteral("Addr"), {QStringLiteral("ADDR")}},
                {QStringLiteral("Zip"), {QStringLiteral("ZIP")}}}};
    t.fields = {
        text("ZIP", 7, "우편번호"),
        text("ZDO", 10, "시/도"),
        text("ZGUN", 10, "구/군/동"),
        text("ZADDR", 30),
        text("ADDR", 40, "주소"),
        text("DDD", 4),
    };
    return t;
}

TableDef lookup(const char *name, int size, const char *label)
{
    const QString n = QString::fromUtf8(name);
    return TableDef{n, n + QStringLiteral(".DBF"), {text(name, size, label)}, {}, {}};
}
} // namespace

const QList<TableDef> &KelmoTables()
{
    static const QList<TableDef> tables = {
        master(),
        family(),
        visit(),
        study(),
        zip(),
        lookup("AREA", 10, "구역명"),
        lookup("ZONE", 10, "교구명"),
        lookup("PART", 20, "소속기관명"),
        lookup("RESP", 10, "기관직책명"),
        lookup("DUTY", 20, "직분명"),
        lookup("GITA", 20, "활동기타"),
        lookup("BIGO", 20, "비고명"),
        lookup("KIND", 10, "직장종류명"),
        lookup("FREL", 6, "가족관계명"),
        lookup("EDUC", 40, "이력종류명"),
    };
    return tables;
}

const QStringList &KelmoTableFiles()
{
    static const QStringList files = {
        QStringLiteral("MASTER.DB"), QStringLiteral("FAMILY.DB"), QStringLiteral("VISIT.DB"),
        QStringLiteral("STUDY.DB"),  QStringLiteral("ZIP.DBF"),   QStringLiteral("AREA.DBF"),
        QStringLiteral("BIGO.DBF"),  QStringLiteral("DUTY.DBF"),  QStringLiteral("EDUC.DBF"),
        QStringLiteral("FREL.DBF"),  QStringLiteral("GITA.DBF"),  QStringLiteral("KIND.DBF"),
        QStringLiteral("PART.DBF"),  QStringLiteral("RESP.DBF"),  QStringLiteral("ZONE.DBF"),
    };
    return files;
}
