#include "generator/generator.h"

#include "anniversaries/tday.h"
#include "core/lunsol.h"
#include "core/myunit.h"
#include "platform/clock.h"
#include "platform/cp949.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <memory>
#include <random>
#include <span>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------------------------------------
// Data

struct Surname {
    const char *hangul;
    int weight; // per mille, roughly the census shares
    const char *hanja;
    const char *roman;
};

// Spread over every initial consonant but ㅋ (no common surname has it; the foreign names do).
const Surname Surnames[] = {
    {"김", 215, "金", "kim"},   {"이", 147, "李", "lee"},   {"박", 84, "朴", "park"},
    {"최", 47, "崔", "choi"},   {"정", 44, "鄭", "jung"},   {"강", 23, "姜", "kang"},
    {"조", 21, "趙", "cho"},    {"윤", 21, "尹", "yoon"},   {"장", 20, "張", "jang"},
    {"임", 17, "林", "lim"},    {"한", 15, "韓", "han"},    {"오", 15, "吳", "oh"},
    {"서", 15, "徐", "seo"},    {"신", 15, "申", "shin"},   {"권", 14, "權", "kwon"},
    {"황", 14, "黃", "hwang"},  {"안", 13, "安", "ahn"},    {"송", 13, "宋", "song"},
    {"유", 12, "柳", "yoo"},    {"류", 6, "柳", "ryu"},     {"홍", 11, "洪", "hong"},
    {"전", 11, "全", "jeon"},   {"고", 9, "高", "ko"},      {"문", 9, "文", "moon"},
    {"양", 9, "梁", "yang"},    {"손", 9, "孫", "son"},     {"배", 8, "裵", "bae"},
    {"백", 8, "白", "baek"},    {"허", 7, "許", "heo"},     {"노", 6, "盧", "noh"},
    {"남", 6, "南", "nam"},     {"심", 5, "沈", "shim"},    {"하", 5, "河", "ha"},
    {"곽", 4, "郭", "kwak"},    {"성", 4, "成", "sung"},    {"차", 4, "車", "cha"},
    {"주", 4, "朱", "joo"},     {"우", 4, "禹", "woo"},     {"구", 4, "具", "koo"},
    {"민", 3, "閔", "min"},     {"나", 3, "羅", "na"},      {"진", 3, "陳", "jin"},
    {"지", 3, "池", "ji"},      {"엄", 3, "嚴", "eom"},     {"채", 3, "蔡", "chae"},
    {"원", 3, "元", "won"},     {"천", 2, "千", "cheon"},   {"방", 2, "方", "bang"},
    {"공", 2, "孔", "kong"},    {"현", 2, "玄", "hyun"},    {"함", 2, "咸", "ham"},
    {"변", 2, "卞", "byun"},    {"염", 2, "廉", "yeom"},    {"여", 2, "呂", "yeo"},
    {"추", 1, "秋", "choo"},    {"도", 2, "都", "do"},      {"석", 1, "石", "seok"},
    {"설", 1, "薛", "seol"},    {"마", 1, "馬", "ma"},      {"길", 1, "吉", "gil"},
    {"표", 1, "表", "pyo"},     {"명", 1, "明", "myung"},   {"라", 1, "羅", "ra"},
    {"탁", 1, "卓", "tak"},     {"태", 1, "太", "tae"},     {"편", 1, "片", "pyun"},
    {"두", 1, "杜", "doo"},     {"제갈", 1, "諸葛", "jegal"}, {"남궁", 1, "南宮", "namgung"},
};

const char *const MaleNames[] = {
    "민수", "영수", "영호", "영철", "성수", "성호", "성민", "상철", "상훈", "정호", "정훈", "준호",
    "준영", "현우", "현수", "동현", "동욱", "지훈", "재현", "재훈", "승현", "승민", "민준", "서준",
    "도윤", "예준", "시우", "하준", "주원", "지호", "광수", "병철", "종태", "용석", "진우", "태현",
    "우진", "건우", "경수", "기영", "철수", "명수", "대호", "석진", "창호", "형준", "은호", "원석",
};
const char *const FemaleNames[] = {
    "영희", "순자", "미숙", "정숙", "영숙", "경희", "은정", "지영", "수진", "미영", "지은", "혜진",
    "서연", "서윤", "지우", "하윤", "민서", "수빈", "옥순", "말순", "정희", "현숙", "은영", "선희",
    "미경", "혜숙", "명숙", "춘자", "영자", "숙자", "은지", "유진", "예린", "소연", "수연", "다은",
    "채원", "지민", "하은", "은주", "미정", "경숙", "순희", "정아", "보람", "민지", "윤희", "현정",
};
// Members registered under a foreign name, written in Hangul or in Latin letters.
const char *const HangulForeignNames[] = {"케빈", "캐서린", "크리스", "카를로스", "토마스", "폴",
                                          "피터", "레이첼", "안나", "다니엘"};
const char *const LatinNames[] = {"John Smith", "Mary Kim", "Paul Lee",  "Grace Park", "David Choi",
                                  "Sarah Oh",   "Peter Han", "Anna Yoon", "James Cho", "Ruth Jang"};

const char *const GivenHanja[][2] = {
    {"민", "民"}, {"수", "秀"}, {"영", "英"}, {"호", "浩"}, {"철", "哲"}, {"성", "成"}, {"상", "相"},
    {"훈", "勳"}, {"정", "正"}, {"준", "俊"}, {"현", "賢"}, {"우", "宇"}, {"동", "東"}, {"욱", "旭"},
    {"지", "智"}, {"재", "在"}, {"승", "承"}, {"서", "瑞"}, {"도", "道"}, {"윤", "允"}, {"시", "時"},
    {"하", "夏"}, {"주", "周"}, {"원", "元"}, {"광", "光"}, {"병", "炳"}, {"종", "鍾"}, {"태", "泰"},
    {"용", "龍"}, {"석", "錫"}, {"진", "珍"}, {"경", "京"}, {"기", "基"}, {"명", "明"}, {"대", "大"},
    {"창", "昌"}, {"형", "亨"}, {"은", "恩"}, {"희", "姬"}, {"자", "子"}, {"숙", "淑"}, {"미", "美"},
    {"순", "順"}, {"혜", "惠"}, {"빈", "彬"}, {"옥", "玉"}, {"선", "善"}, {"춘", "春"}, {"유", "裕"},
    {"소", "素"}, {"다", "多"}, {"채", "采"}, {"보", "寶"}, {"아", "雅"}, {"연", "姸"},
};

struct Province {
    const char *zdo;
    const char *ddd;
    char zipLead;
    const char *guns; // comma-separated
};
const Province Provinces[] = {
    {"서울", "02", '1', "강남구,서초구,송파구,마포구,종로구,노원구,관악구,영등포구"},
    {"부산", "051", '6', "해운대구,부산진구,동래구,사하구"},
    {"대구", "053", '7', "수성구,달서구,중구"},
    {"인천", "032", '4', "남동구,부평구,연수구"},
    {"광주", "062", '5', "북구,서구,광산구"},
    {"대전", "042", '3', "유성구,서구,중구"},
    {"울산", "052", '6', "남구,중구"},
    {"경기", "031", '4', "수원시,성남시,고양시,용인시,부천시,안양시"},
    {"강원", "033", '2', "춘천시,원주시,강릉시"},
    {"충북", "043", '3', "청주시,충주시"},
    {"충남", "041", '3', "천안시,아산시"},
    {"전북", "063", '5', "전주시,익산시"},
    {"전남", "061", '5', "목포시,여수시,순천시"},
    {"경북", "054", '7', "포항시,구미시,경주시"},
    {"경남", "055", '6', "창원시,김해시,진주시"},
    {"제주", "064", '6', "제주시,서귀포시"},
};
const char *const Towns[] = {
    "중앙동", "신정동", "화정동", "봉천동", "역삼동", "대치동", "신림동", "상계동", "연산동", "만덕동",
    "범어동", "월계동", "삼성동", "신사동", "문정동", "합정동", "명륜동", "효자동", "송정동", "용산동",
    "장안동", "매탄동", "정자동", "일산동", "상동",   "중동",   "평촌동", "석사동", "명동",   "교동",
    "금호동", "학동",   "산본동", "도화동", "주안동", "봉명동", "둔산동", "용전동", "신방동", "대흥동",
};
constexpr int TownsPerGun = 6;

const char *const Apartments[] = {"한빛", "현대", "삼익", "우성", "주공", "푸른마을", "래미안",
                                  "금호", "대림", "쌍용"};
const char *const Churches[] = {"새문안교회", "영락교회", "충현교회", "소망교회", "명성교회",
                                "사랑의교회", "온누리교회", "제일교회", "중앙교회", "성광교회"};
const char *const Companies[] = {"삼성전자", "현대자동차", "서울시청", "한국전력공사", "국민은행",
                                 "행복초등학교", "대한병원", "개인사업", "LG화학", "우체국"};
const char *const Buildings[] = {"중앙빌딩", "대성빌딩", "한국타워", "제일빌딩", "센트럴타워"};
const char *const Departments[] = {"영업부", "총무부", "개발팀", "교무부", "간호부", "기획실", "생산부"};
const char *const Ranks[] = {"사원", "대리", "과장", "차장", "부장", "교사", "대표", "주임"};
const char *const Learning[] = {"초졸", "중졸", "고졸", "대졸", "대학원졸"};
const char *const Majors[] = {"경영학", "컴퓨터공학", "신학", "교육학", "간호학", "국문학", "기계공학"};
const char *const Hobbies[] = {"등산", "독서", "낚시", "음악감상", "바둑", "여행", "테니스"};
const char *const Skills[] = {"피아노", "운전", "컴퓨터", "요리", "서예", "기타연주", "영어"};
const char *const BloodTypes[] = {"A", "A", "A", "O", "O", "O", "B", "B", "AB"};
const char *const Courses[] = {"전도", "이명", "새신자", "전입", "모태신앙"};
const char *const Religions[] = {"기독교", "기독교", "기독교", "무교", "무교", "불교", "천주교"};
const char *const Grades[] = {"세례", "학습", "입교", "원입"};
const char *const MailHosts[] = {"naver.com", "daum.net", "gmail.com", "hanmail.net", "nate.com"};
const char *const Places[] = {"자택", "자택", "자택", "병원", "직장", "교회", "카페"};

// Memo phrases; "기도", "심방" and "병원" recur so that memo searches find something.
const char *const ChurchMemos[] = {
    "새벽기도 꾸준히 참석", "심방 요청함", "병원 입원 중 (기도 부탁)", "장기결석 - 심방 필요",
    "찬양대 봉사 희망", "이사 예정", "자녀 진학 기도제목", "수요예배 참석",
    "건강 회복을 위해 기도", "직장 문제로 기도 요청",
};
const char *const FamilyMemos[] = {"가족 모두 출석", "배우자 미신자 - 전도 대상", "자녀 유학 중",
                                   "부모님 병원 치료 중", "가정예배 드림", "손자 출생"};
const char *const JobMemos[] = {"야간 근무 많음", "주일 근무 있음", "출장 잦음", "직장 신우회 활동"};
const char *const VisitContents[] = {"대심방", "병원 심방 - 수술 후 회복", "새가족 심방", "이사 심방",
                                     "개업 심방", "생일 축하 심방", "가정 예배와 기도"};
const char *const VisitResults[] = {"기도 제목 나눔", "다음 달 재방문 예정", "예배 출석 약속",
                                    "건강 회복 중 - 계속 기도", "가족 전도 부탁"};
const char *const FamilyNotes[] = {"타지 거주", "해외 거주", "군 복무 중", "기도 부탁"};
const char *const StudyNotes[] = {"수료", "우수 수료", "중도 포기", "1기", "2기", "3기"};
const char *const StudyResults[] = {"성실하게 참여", "과제 모두 제출", "간증 발표함"};

struct DefaultList {
    const char *table;
    const char *values;
    bool starting; // also given to every new register
};
const DefaultList DefaultLists[] = {
    {"FREL", "부,모,남편,아내,아들,딸,자부,사위,손자,손녀,형제,자매,조부,조모", true},
    {"DUTY", "목사,전도사,장로,권사,안수집사,집사,권찰,성도", true},
    {"KIND", "회사원,공무원,교사,자영업,전문직,농업,주부,학생,무직", true},
    {"EDUC", "새가족교육,학습교육,세례교육,제자훈련,성경공부,교사대학", true},
    {"RESP", "회장,부회장,총무,서기,회계,부장,교사,회원", true},
    {"PART", "남선교회,여전도회,청년회,학생회,주일학교,성가대", true},
    {"ZONE", "1교구,2교구,3교구,4교구,5교구", false},
    {"AREA", "", false}, // 1..20, made below
    {"BIGO", "새가족,장기결석,이명,군입대,유학", false},
    {"GITA", "찬양대,주차봉사,식당봉사,교사,안내위원,방송실", false},
};
constexpr int AreaCount = 20;

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList defaultValues(const DefaultList &list)
{
    if (QLatin1String(list.table) == QLatin1String("AREA")) {
        QStringList areas;
        for (int i = 1; i <= AreaCount; ++i)
            areas << QString::number(i);
        return areas;
    }
    return u(list.values).split(u',');
}

// ---------------------------------------------------------------------------------------------
// Randomness: the raw engine only, so that a seed gives the same register with any standard
// library (the distributions of <random> are implementation-defined).

class Rng {
public:
    explicit Rng(quint32 seed) : m_engine(seed) {}

    int range(int low, int high) // inclusive
    {
        return low + int(m_engine() % quint32(high - low + 1));
    }
    bool chance(double p) { return m_engine() < p * 4294967296.0; }
    template<typename T>
    const T &pick(std::span<const T> items)
    {
        return items[std::size_t(range(0, int(items.size()) - 1))];
    }
    template<typename T, std::size_t N>
    const T &pick(const T (&items)[N])
    {
        return pick(std::span<const T>(items));
    }
    template<std::size_t N>
    QString text(const char *const (&items)[N])
    {
        return u(pick(items));
    }
    QString pick(const QStringList &items)
    {
        return items.isEmpty() ? QString() : items[range(0, int(items.size()) - 1)];
    }
    // Index i has weight i + 1: later entries of a list are the common ones (성도 over 목사).
    QString pickRising(const QStringList &items)
    {
        const int n = int(items.size());
        if (n == 0)
            return {};
        int r = range(0, n * (n + 1) / 2 - 1);
        for (int i = 0; i < n; ++i) {
            r -= i + 1;
            if (r < 0)
                return items[i];
        }
        return items.last();
    }
    // One of 0..weights.size()-1 with the given weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = range(0, total - 1), i = 0;
        for (int w : weights) {
            if ((r -= w) < 0)
                return i;
            ++i;
        }
        return i - 1;
    }
    QString digits(int count)
    {
        QString out;
        for (int i = 0; i < count; ++i)
            out += QChar(u'0' + range(0, 9));
        return out;
    }
    QDate date(const QDate &from, const QDate &to)
    {
        if (from >= to)
            return to;
        return from.addDays(range(0, int(from.daysTo(to))));
    }

private:
    std::mt19937 m_engine;
};

// ---------------------------------------------------------------------------------------------
// Rows

// One prepared INSERT per table; values are set by field name and stored by the register's text
// rules (no trailing blanks, blank is NULL, cut to the field's code-page bytes).
class RowWriter {
public:
    RowWriter(Database &db, const QString &table) : m_def(definition(db, table)), m_values(m_def.fields.size())
    {
        QStringList cols, marks;
        for (const FieldDef &f : m_def.fields) {
            cols << QStringLiteral("\"%1\"").arg(f.name);
            marks << QStringLiteral("?");
        }
        m_insert = std::make_unique<Statement>(
            db, QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                    .arg(m_def.name, cols.join(u','), marks.join(u',')));
    }

    void set(const char *field, const QVariant &value) { m_values[column(field)] = value; }

    void insert()
    {
        for (int i = 0; i < m_values.size(); ++i)
            m_insert->bind(i + 1, stored(m_def.fields[i], m_values[i]));
        m_insert->step();
        m_insert->reset();
        m_values.fill(QVariant());
        ++m_rows;
    }
    int rows() const { return m_rows; }

private:
    static const TableDef &definition(Database &db, const QString &table)
    {
        if (const TableDef *def = db.tableDef(table))
            return *def;
        throw DbError(DbError::NoSuchTable, QStringLiteral("No table %1 in the catalog").arg(table));
    }

    // Field names come as literals: their addresses are a cheap key.
    int column(const char *field)
    {
        auto it = m_columns.find(field);
        if (it == m_columns.end()) {
            const int i = m_def.fieldIndex(QLatin1String(field));
            if (i < 0)
                throw DbError(DbError::General, QStringLiteral("No field %1 in %2").arg(QLatin1String(field), m_def.name));
            it = m_columns.emplace(field, i).first;
        }
        return it->second;
    }

    static QVariant stored(const FieldDef &f, const QVariant &v)
    {
        if (v.isNull())
            return {};
        if (f.type == FieldType::Logical)
            return QVariant(v.toBool() ? 1 : 0);
        if (f.type != FieldType::Text && f.type != FieldType::Memo)
            return v;
        QString s = v.toString();
        while (!s.isEmpty() && s.back() == u' ')
            s.chop(1);
        if (f.type == FieldType::Text)
            s = cp949::cutToBytes(s, f.size);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }

    const TableDef &m_def;
    QVector<QVariant> m_values;
    std::unique_ptr<Statement> m_insert;
    std::unordered_map<const char *, int> m_columns;
    int m_rows = 0;
};

QStringList readColumn(Database &db, const QString &sql)
{
    Statement st(db, sql);
    QStringList out;
    while (st.step())
        if (const QString v = st.column(0).toString(); !v.isEmpty())
            out << v;
    return out;
}

// ---------------------------------------------------------------------------------------------
// Dates

QString ymd(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QString();
}

QDate fromYmd(const QString &s)
{
    return QDate::fromString(s, QStringLiteral("yyyyMMdd"));
}

int ageAt(const QDate &birth, const QDate &day)
{
    int age = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --age;
    return age;
}

// ---------------------------------------------------------------------------------------------
// The generator

struct ZipRow {
    QString zip; // digits only
    QString addr;
    QString ddd;
};

struct Person {
    QString name;
    QString surname; // empty for foreign names
    const Surname *family = nullptr;
    QString given;
    bool male = true;
    QString bday;    // as stored: the lunar date when lunar
    bool lunar = false;
    QDate birth;     // solar; invalid when the birth date is unknown
};

struct Household {
    const ZipRow *home = nullptr;
    QString addr2;
    QString tel;
    QString zone, area;
    QString headName, headIno;
    Person head;
};

enum class Role { Head, Spouse, Child, Parent };

class Generator {
public:
    Generator(Database &db, quint32 seed)
        : m_db(db), m_rng(seed), m_today(Clock::now().date()), m_master(db, QStringLiteral("MASTER")),
          m_family(db, QStringLiteral("FAMILY")), m_visit(db, QStringLiteral("VISIT")),
          m_study(db, QStringLiteral("STUDY"))
    {
    }

    GeneratedCounts run(int members)
    {
        GeneratedCounts counts;
        counts.lookupRows = fillEmptyLookups();
        counts.zipRows = fillEmptyZip();
        loadLists();
        for (int i = 0; i < 5; ++i)
            m_pastors << randomPerson(true, QDate(1950, 1, 1), QDate(1985, 12, 31)).name;
        m_nextIno = QDateTime(QDate(1998, 3, 1), QTime(9, 0), Qt::UTC); // UTC: no time-zone look-ups, no DST gaps
        while (m_master.rows() < members)
            household(members - m_master.rows());
        counts.members = m_master.rows();
        counts.family = m_family.rows();
        counts.visits = m_visit.rows();
        counts.studies = m_study.rows();
        return counts;
    }

private:
    int fillEmptyLookups()
    {
        int added = 0;
        for (const DefaultList &list : DefaultLists) {
            const QString table = QLatin1String(list.table);
            if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt() > 0)
                continue;
            RowWriter w(m_db, table);
            for (const QString &v : defaultValues(list)) {
                w.set(list.table, v);
                w.insert();
            }
            added += w.rows();
        }
        return added;
    }

    int fillEmptyZip()
    {
        if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM ZIP")).toInt() > 0)
            return 0;
        RowWriter w(m_db, QStringLiteral("ZIP"));
        for (const Province &p : Provinces) {
            const QStringList guns = u(p.guns).split(u',');
            for (int g = 0; g < guns.size(); ++g) {
                QSet<int> used;
                for (int t = 0; t < TownsPerGun; ++t) {
                    int town;
                    do
                        town = m_rng.range(0, int(std::size(Towns)) - 1);
                    while (used.contains(town));
                    used.insert(town);
                    const QString zip = QChar::fromLatin1(p.zipLead) + QString::number(10 + g * 7 + m_rng.range(0, 6)) +
                                        u'-' + QString::number(t) + m_rng.digits(2);
                    w.set("ZIP", zip);
                    w.set("ZDO", u(p.zdo));
                    w.set("ZGUN", guns[g]);
                    w.set("ZADDR", u(Towns[town]));
                    w.set("ADDR", u(p.zdo) + u' ' + guns[g] + u' ' + u(Towns[town]));
                    w.set("DDD", u(p.ddd));
                    w.insert();
                }
            }
        }
        return w.rows();
    }

    void loadLists()
    {
        auto list = [this](const char *table) {
            return readColumn(m_db, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
        };
        m_areas = list("AREA");
        m_zones = list("ZONE");
        m_parts = list("PART");
        m_resps = list("RESP");
        m_duties = list("DUTY");
        m_gitas = list("GITA");
        m_bigos = list("BIGO");
        m_kinds = list("KIND");
        m_frels = list("FREL");
        m_educs = list("EDUC");
        Statement st(m_db, QStringLiteral("SELECT ZIP, ADDR, DDD FROM ZIP ORDER BY rowid"));
        while (st.step()) {
            ZipRow z{st.column(0).toString().remove(u'-').left(6), st.column(1).toString(),
                     st.column(2).toString()};
            if (!z.addr.isEmpty())
                m_zips.append(z);
        }
        if (m_zips.isEmpty())
            m_zips.append(ZipRow{QStringLiteral("100011"), u("서울 중구 명동"), QStringLiteral("02")});
        const QStringList inos = readColumn(m_db, QStringLiteral("SELECT Ino FROM MASTER"));
        m_usedInos = QSet<QString>(inos.begin(), inos.end());
    }

    // -- people ------------------------------------------------------------------------------

    const Surname &randomSurname()
    {
        static const int total = [] {
            int t = 0;
            for (const Surname &s : Surnames)
                t += s.weight;
            return t;
        }();
        int r = m_rng.range(0, total - 1);
        for (const Surname &s : Surnames)
            if ((r -= s.weight) < 0)
                return s;
        return Surnames[0];
    }

    Person randomPerson(bool male, const QDate &bornFrom, const QDate &bornTo, const Surname *family = nullptr)
    {
        Person p;
        p.male = male;
        const int kind = m_rng.weighted({98, 1, 1});
        if (kind == 0 || family) {
            p.family = family ? family : &randomSurname();
            p.surname = u(p.family->hangul);
            p.given = male ? m_rng.text(MaleNames) : m_rng.text(FemaleNames);
            p.name = p.surname + p.given;
        } else {
            p.name = kind == 1 ? m_rng.text(HangulForeignNames) : m_rng.text(LatinNames);
        }
        p.birth = m_rng.date(bornFrom, bornTo);
        p.bday = ymd(p.birth);
        if (m_rng.chance(0.3)) {
            // A lunar birthday; a day of a leap month without a regular twin stays solar.
            const QString lunar = SolarToLunar(p.bday);
            const QString back = LunarToSolar(lunar, false);
            if (!back.isEmpty()) {
                p.lunar = true;
                p.bday = lunar;
                p.birth = fromYmd(back);
            }
        }
        if (m_rng.chance(0.02)) {
            p.bday.clear();
            p.lunar = false;
            p.birth = QDate();
        }
        return p;
    }

    QString hanjaName(const Person &p)
    {
        if (!p.family || p.given.size() != 2)
            return {};
        static const QHash<QChar, QString> hanja = [] {
            QHash<QChar, QString> h;
            for (const auto &pair : GivenHanja)
                h.insert(u(pair[0]).front(), u(pair[1]));
            return h;
        }();
        QString out = u(p.family->hanja);
        for (QChar c : p.given) {
            const auto it = hanja.constFind(c);
            if (it == hanja.cend())
                return {};
            out += *it;
        }
        return out;
    }

    QString nextIno()
    {
        // A taken number moves on by a second without drawing, so the people stay the same.
        m_nextIno = m_nextIno.addSecs(m_rng.range(1, 90));
        QString ino = m_nextIno.toString(QStringLiteral("yyMMddhhmmss"));
        while (m_usedInos.contains(ino)) {
            m_nextIno = m_nextIno.addSecs(1);
            ino = m_nextIno.toString(QStringLiteral("yyMMddhhmmss"));
        }
        m_usedInos.insert(ino);
        return ino;
    }

    QString phone(const QString &ddd)
    {
        const QString area = ddd.isEmpty() ? QStringLiteral("02") : ddd;
        return area + u'-' + QString::number(m_rng.range(200, 9999)) + u'-' + m_rng.digits(4);
    }
    QString mobile() { return QStringLiteral("010-") + m_rng.digits(4) + u'-' + m_rng.digits(4); }

    QString relation(Role role, bool male)
    {
        const char *word = role == Role::Spouse ? (male ? "남편" : "아내")
                           : role == Role::Child ? (male ? "아들" : "딸")
                                                 : (male ? "부" : "모");
        return m_frels.contains(u(word)) ? u(word) : m_rng.pick(m_frels);
    }

    // Resident registration number: birth date, sex and century digit, then a valid check digit.
    QString regno(const Person &p)
    {
        const bool y2k = p.birth.year() >= 2000;
        QString n = p.birth.toString(QStringLiteral("yyMMdd")) +
                    QString::number((y2k ? 3 : 1) + (p.male ? 0 : 1)) + m_rng.digits(5);
        static const int weights[] = {2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5};
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (n[i].unicode() - u'0') * weights[i];
        return n + QString::number((11 - sum % 11) % 10);
    }

    QString memo(std::span<const char *const> phrases, double p)
    {
        if (!m_rng.chance(p))
            return {};
        QString text = u(m_rng.pick(phrases));
        if (m_rng.chance(0.3))
            text += QStringLiteral(", ") + u(m_rng.pick(phrases));
        return text;
    }

    QString email(const Person &p)
    {
        QString local = p.family ? QLatin1String(p.family->roman) : QStringLiteral("user");
        local += QChar(u'a' + m_rng.range(0, 25));
        local += QChar(u'a' + m_rng.range(0, 25));
        local += p.birth.isValid() ? QString::number(p.birth.year()).right(2) : m_rng.digits(3);
        return local + u'@' + u(m_rng.pick(MailHosts));
    }

    // -- households --------------------------------------------------------------------------

    // Address, telephone and church area, shared by everyone of a household.
    Household home()
    {
        Household h;
        h.home = &m_rng.pick(std::span<const ZipRow>(m_zips.constData(), m_zips.size()));
        const int addr2 = m_rng.weighted({20, 35, 45});
        if (addr2 == 1)
            h.addr2 = QString::number(m_rng.range(1, 999)) + u'-' + QString::number(m_rng.range(1, 30));
        else if (addr2 == 2)
            h.addr2 = m_rng.text(Apartments) + u("아파트 ") + QString::number(m_rng.range(101, 115)) + u("동 ") +
                      QString::number(m_rng.range(1, 25)) + QStringLiteral("0") + QString::number(m_rng.range(1, 6)) + u("호");
        if (m_rng.chance(0.9))
            h.tel = phone(h.home->ddd);
        if (!m_areas.isEmpty() && m_rng.chance(0.95)) {
            const int a = m_rng.range(0, int(m_areas.size()) - 1);
            h.area = m_areas[a];
            if (!m_zones.isEmpty())
                h.zone = m_zones[int(qint64(a) * m_zones.size() / m_areas.size())];
        }
        return h;
    }

    // A head of household and up to room - 1 more members: spouse, children, now and then a parent.
    void household(int room)
    {
        Household h = home();
        const QDate latest = std::min(QDate(2020, 12, 31), m_today);
        h.head = randomPerson(m_rng.chance(0.75), QDate(1930, 1, 1), QDate(1995, 12, 31));
        const QDate headBirth = h.head.birth.isValid() ? h.head.birth : QDate(1965, 1, 1);
        const int extras = std::min(room - 1, m_rng.weighted({15, 25, 30, 20, 10}));
        const bool married = extras > 0 && m_rng.chance(0.8);
        const QString mday = married ? weddingDay(headBirth) : QString();
        const QString headMday = married ? mday : m_rng.chance(0.2) ? weddingDay(headBirth) : QString();
        h.headIno = member(h, h.head, Role::Head, headMday);
        h.headName = h.head.name;
        for (int i = 0; i < extras; ++i) {
            if (i == 0 && married) {
                const QDate born = headBirth.addYears(m_rng.range(-3, 5));
                const Person spouse = randomPerson(!h.head.male, born.addMonths(-6), born.addMonths(6));
                member(h, spouse, Role::Spouse, mday);
            } else if (headBirth.year() >= 1958 && m_rng.chance(0.1)) {
                const QDate born = headBirth.addYears(-m_rng.range(22, 28));
                const Person parent = randomPerson(m_rng.chance(0.4), std::max(QDate(1930, 1, 1), born.addYears(-2)),
                                                   std::max(QDate(1930, 1, 1), born));
                member(h, parent, Role::Parent, QString());
            } else {
                const QDate from = std::min(latest, headBirth.addYears(22));
                const QDate to = std::min(latest, headBirth.addYears(42));
                const bool male = m_rng.chance(0.5);
                const Person child = randomPerson(male, from, to, h.head.male ? h.head.family : nullptr);
                const bool adult = child.birth.isValid() && ageAt(child.birth, m_today) >= 25;
                member(h, child, Role::Child, adult && m_rng.chance(0.3) ? weddingDay(child.birth) : QString());
            }
        }
    }

    QString weddingDay(const QDate &birth)
    {
        const QDate day = m_rng.date(birth.addYears(24), birth.addYears(34));
        return day <= m_today ? ymd(day) : QString();
    }

    // Writes one member with sub-rows; returns the member number.
    QString member(const Household &h, const Person &p, Role role, const QString &mday)
    {
        const QString ino = nextIno();
        const int age = p.birth.isValid() ? ageAt(p.birth, m_today) : 40;
        const QDate reg = m_rng.date(std::max(p.birth.isValid() ? p.birth : QDate(1960, 1, 1), QDate(1980, 1, 1)),
                                     m_today);
        RowWriter &w = m_master;
        w.set("Ino", ino);
        w.set("Name", p.name);
        if (m_rng.chance(0.15))
            w.set("Hname", hanjaName(p));
        w.set("X", p.male ? u("남") : u("여"));
        w.set("Bday", p.bday);
        if (!p.bday.isEmpty()) {
            w.set("L", p.lunar ? u("음") : u("양"));
            w.set("Tday", BirthdayInYear(p.bday, p.lunar, m_today.year()));
        }
        w.set("G", role == Role::Head);
        if (role != Role::Head) {
            w.set("Gname", h.headName);
            w.set("GNO", h.headIno);
            w.set("Grel", relation(role, p.male));
        }
        w.set("Tel1", h.tel);
        if (m_rng.chance(0.1))
            w.set("Tel2", m_rng.chance(0.5) ? mobile() : phone(h.home->ddd));
        if (age >= 10 && m_rng.chance(age >= 80 ? 0.5 : 0.9))
            w.set("Hp", mobile());
        if (m_rng.chance(0.2))
            w.set("Bon", m_rng.pick(std::span<const ZipRow>(m_zips.constData(), m_zips.size())).addr);
        w.set("Addr1", h.home->addr);
        w.set("Addr2", h.addr2);
        w.set("Zip", h.home->zip);
        if (p.birth.isValid() && m_rng.chance(0.4))
            w.set("Regno", regno(p));
        w.set("M", !mday.isEmpty());
        w.set("Mday", mday);
        if (age >= 16 && m_rng.chance(0.9))
            w.set("Learn", m_rng.text(Learning));
        if (age >= 20 && m_rng.chance(0.2))
            w.set("Major", m_rng.text(Majors));
        if (m_rng.chance(0.2))
            w.set("Hobby", m_rng.text(Hobbies));
        if (m_rng.chance(0.2))
            w.set("Spec", m_rng.text(Skills));
        if (m_rng.chance(0.6))
            w.set("Bl", m_rng.text(BloodTypes));
        if (age >= 15 && age <= 70 && m_rng.chance(0.25))
            w.set("Email", email(p));
        w.set("Fmemo", memo(FamilyMemos, 0.15));
        churchRecord(w, h, p, age, reg);
        if (age >= 20 && age <= 65 && m_rng.chance(0.5))
            workplace(w);
        w.set("Sel", false);
        if (m_rng.chance(0.15))
            w.set("BEFO", m_rng.text(Churches));
        w.insert();

        familyRows(ino);
        visitRows(ino, reg);
        studyRows(ino, reg);
        return ino;
    }

    void churchRecord(RowWriter &w, const Household &h, const Person &p, int age, const QDate &reg)
    {
        const QDate birth = p.birth.isValid() ? p.birth : QDate(1960, 1, 1);
        w.set("R", true);
        w.set("Reg", ymd(reg));
        if (m_rng.chance(0.5))
            w.set("Cur", m_rng.text(Courses));
        if (m_rng.chance(0.2))
            w.set("Guide", m_guides.isEmpty() ? QString() : m_rng.pick(m_guides));
        if (m_guides.size() < 200)
            m_guides << p.name;
        w.set("Zone", h.zone);
        w.set("Area", h.area);
        if (age >= 18 && m_rng.chance(0.8))
            w.set("Duty1", m_rng.pickRising(m_duties));
        if (age >= 18 && m_rng.chance(0.1))
            w.set("Duty2", m_rng.pick(m_duties));
        if (m_rng.chance(0.15))
            w.set("Bigo", m_rng.pick(m_bigos));
        if (m_rng.chance(0.5)) {
            w.set("Part", m_rng.pick(m_parts));
            if (m_rng.chance(0.4))
                w.set("Resp", m_rng.pickRising(m_resps));
        }
        if (m_rng.chance(0.25))
            w.set("Serve", m_rng.pick(m_gitas));
        sacraments(w, birth, reg, age);
        w.set("Cmemo", memo(ChurchMemos, 0.25));
    }

    // Infant baptism, or catechism then baptism from age 14; a flag is set exactly when its date is.
    void sacraments(RowWriter &w, const QDate &birth, const QDate &reg, int age)
    {
        QString chd, std, bap;
        if (m_rng.chance(0.15)) {
            chd = ymd(m_rng.date(birth.addDays(30), std::min(m_today, birth.addDays(700))));
        } else if (age >= 14) {
            const QDate from = std::max(reg, birth.addYears(14));
            if (m_rng.chance(0.55)) {
                const QDate s = m_rng.date(from, m_today);
                std = ymd(s);
                if (m_rng.chance(0.85))
                    bap = ymd(m_rng.date(std::min(m_today, s.addDays(90)), std::min(m_today, s.addDays(730))));
            } else if (m_rng.chance(0.2)) {
                bap = ymd(m_rng.date(from, m_today));
            }
        }
        w.set("C", !chd.isEmpty());
        w.set("Chd", chd);
        w.set("S", !std.isEmpty());
        w.set("Std", std);
        w.set("B", !bap.isEmpty());
        w.set("Bap", bap);
    }

    void workplace(RowWriter &w)
    {
        const ZipRow &z = m_rng.pick(std::span<const ZipRow>(m_zips.constData(), m_zips.size()));
        w.set("Job", m_rng.text(Companies));
        w.set("Jkind", m_rng.pick(m_kinds));
        if (m_rng.chance(0.6))
            w.set("Jpart", m_rng.text(Departments));
        if (m_rng.chance(0.6))
            w.set("Jduty", m_rng.text(Ranks));
        if (m_rng.chance(0.7))
            w.set("Jtel", phone(z.ddd));
        if (m_rng.chance(0.2))
            w.set("Jfax", phone(z.ddd));
        if (m_rng.chance(0.6)) {
            w.set("Jaddr1", z.addr);
            if (m_rng.chance(0.5))
                w.set("Jaddr2", m_rng.text(Buildings) + u' ' + QString::number(m_rng.range(1, 20)) + u("층"));
            w.set("Jzip", z.zip);
        }
        w.set("Jmemo", memo(JobMemos, 0.2));
    }

    void familyRows(const QString &ino)
    {
        const int n = m_rng.weighted({30, 20, 25, 15, 10});
        for (int seq = 1; seq <= n; ++seq) {
            const Person p = randomPerson(m_rng.chance(0.5), QDate(1930, 1, 1), QDate(2020, 12, 31));
            RowWriter &w = m_family;
            w.set("Ino", ino);
            w.set("Seq", seq);
            w.set("Rel", m_rng.pick(m_frels));
            w.set("Name", p.name);
            const bool known = !p.bday.isEmpty() && m_rng.chance(0.87);
            if (known) {
                w.set("Bday", p.bday);
                w.set("L", p.lunar ? u("음") : u("양"));
                w.set("TDAY", BirthdayInYear(p.bday, p.lunar, m_today.year()));
            }
            if (m_rng.chance(0.4))
                w.set("Learn", m_rng.text(Learning));
            if (m_rng.chance(0.3))
                w.set("Job", m_rng.text(Companies));
            if (m_rng.chance(0.2))
                w.set("Jkind", m_rng.pick(m_kinds));
            if (m_rng.chance(0.7))
                w.set("Rlgn", m_rng.text(Religions));
            const bool registered = m_rng.chance(0.4);
            w.set("R", registered);
            if (registered)
                w.set("Grade", m_rng.text(Grades));
            if (m_rng.chance(0.1))
                w.set("Fbigo", m_rng.text(FamilyNotes));
            w.set("F", known);
            w.insert();
        }
    }

    void visitRows(const QString &ino, const QDate &reg)
    {
        const int n = m_rng.weighted({50, 25, 15, 10});
        QSet<QString> used;
        for (int i = 0; i < n; ++i) {
            QString day, time;
            do {
                day = ymd(m_rng.date(std::max(reg, QDate(1990, 1, 1)), m_today));
                time = QStringLiteral("%1%2").arg(m_rng.range(9, 20), 2, 10, QLatin1Char('0'))
                           .arg(m_rng.chance(0.5) ? QStringLiteral("00") : QStringLiteral("30"));
            } while (used.contains(day + time));
            used.insert(day + time);
            RowWriter &w = m_visit;
            w.set("Ino", ino);
            w.set("Vday", day);
            w.set("Vtime", time);
            if (m_rng.chance(0.8))
                w.set("Leader", m_rng.pick(m_pastors));
            w.set("Fellow", m_rng.range(0, 5));
            w.set("Place", m_rng.text(Places));
            w.set("Content", m_rng.text(VisitContents));
            if (m_rng.chance(0.6))
                w.set("Result", m_rng.text(VisitResults));
            w.insert();
        }
    }

    void studyRows(const QString &ino, const QDate &reg)
    {
        if (m_educs.isEmpty())
            return;
        const int n = m_rng.weighted({55, 25, 12, 8});
        QSet<QString> used;
        for (int i = 0; i < n; ++i) {
            QString from, to, name;
            do {
                const QDate d = m_rng.date(std::max(reg, QDate(1985, 1, 1)), m_today);
                from = ymd(d);
                to = m_rng.chance(0.6) ? ymd(std::min(m_today, d.addDays(m_rng.range(30, 180)))) : QString();
                name = m_rng.pick(m_educs);
            } while (used.contains(from + u'|' + to + u'|' + name));
            used.insert(from + u'|' + to + u'|' + name);
            RowWriter &w = m_study;
            w.set("Ino", ino);
            w.set("Eday", from);
            w.set("Eday2", to);
            w.set("Ename", name);
            if (m_rng.chance(0.3))
                w.set("Ebigo", m_rng.text(StudyNotes));
            if (m_rng.chance(0.3))
                w.set("Result", m_rng.text(StudyResults));
            w.insert();
        }
    }

    Database &m_db;
    Rng m_rng;
    QDate m_today;
    RowWriter m_master, m_family, m_visit, m_study;
    QStringList m_areas, m_zones, m_parts, m_resps, m_duties, m_gitas, m_bigos, m_kinds, m_frels, m_educs;
    QVector<ZipRow> m_zips;
    QSet<QString> m_usedInos;
    QDateTime m_nextIno;
    QStringList m_pastors, m_guides;
};

} // namespace

void FillStartingLists(Database &db)
{
    Transaction t(db);
    for (const DefaultList &list : DefaultLists) {
        if (!list.starting)
            continue;
        RowWriter w(db, QLatin1String(list.table));
        for (const QString &v : defaultValues(list)) {
            w.set(list.table, v);
            w.insert();
        }
    }
    t.commit();
}

GeneratedCounts GenerateRegister(Database &db, int members, quint32 seed)
{
    Transaction t(db);
    const GeneratedCounts counts = Generator(db, seed).run(members);
    t.commit();
    return counts;
}
